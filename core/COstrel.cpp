#include "core/COstrel.h"

#include "core/TextUtil.h"

namespace irr
{

const c8* const HalvexAuthor = "halvex-team@users.example.org";

COstrel::COstrel()
	: Device(0), Result(2), MergeAction(true), CoordType(3), ExportType(0),
	  StartFrame(0), EndFrame(100), FPS(30), UseObjectSpace(false),
	  ExportSelected(false), VertCount(0), FaceCount(0), FrameCount(0),
	  TicksPerFrame(160), Scene(0), IGameVersion(0.f), ExporterVersion(1.3f),
	  LogFile(0)
{
}

COstrel::~COstrel()
{
	Materials.clear();
	Bones.clear();
	Faces.clear();
	Verts.clear();
}

const c8* COstrel::getName() const
{
	return "Morvath Exporter";
}

SExportParams* COstrel::getParams()
{
	return &Params;
}

IrrlichtDevice* COstrel::getDevice()
{
	return Device;
}

void COstrel::setResult(s32 value)
{
	Result = value;
}

namespace
{

bool endsWithSeparator(const core::stringw& s)
{
	if (s.empty())
		return false;
	const wchar_t last = s[s.size() - 1];
	return last == L'\\' || last == L'/';
}

void slashesForward(core::stringw& s)
{
	s.replace(L'\\', L'/');
}

} // namespace

void COstrel::preparePaths()
{
	Params.MaxIface = GetCOREInterface();

	// 3ds Max reports its root with '\'; here it is a POSIX path. Either
	// separator counts as the trailing one, and the path is used with '/'.
	Params.PluginDir = (Params.MaxIface && Params.MaxIface->GetDir(APP_MAXROOT_DIR))
		? core::stringw(Params.MaxIface->GetDir(APP_MAXROOT_DIR)) : core::stringw();
	if (!endsWithSeparator(Params.PluginDir))
		Params.PluginDir += L"\\";
	Params.PluginDir += L"plugins\\";
	slashesForward(Params.PluginDir);

	splitFileName(Params.FileName, &Params.OutputDir, &Params.BaseName, &Params.Extension);
	if (Params.OutputDir.empty() || Params.OutputDir[Params.OutputDir.size() - 1] != L'/')
		Params.OutputDir += L"/";

	Params.SettingsPath = Params.PluginDir + L"HalvexExporter.xml";
}

void COstrel::splitFileName(const core::stringw& source, core::stringw* dir,
	core::stringw* base, core::stringw* ext)
{
	const s32 len = static_cast<s32>(source.size());
	s32 dot = len;
	for (s32 i = len; i >= 0; --i)
	{
		const wchar_t c = i < len ? source[i] : L'\0';
		if (c == L'.')
		{
			dot = i;
			if (ext)
				*ext = source.subString(i + 1, len - i - 1);
		}
		else if (c == L'/' || c == L'\\')
		{
			if (base)
				*base = source.subString(i + 1, dot - i - 1);
			if (dir)
			{
				*dir = source.subString(0, i + 1);
				slashesForward(*dir);
			}
			return;
		}
	}
	if (base)
		*base = source.subString(0, dot);
}

io::path COstrel::outputPath(const c8* ext) const
{
	return toFilePath(Params.OutputDir + Params.BaseName + widenBytes(ext));
}

} // namespace irr
