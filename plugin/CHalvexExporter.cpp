#include "plugin/CHalvexExporter.h"

#include "core/IOstrel.h"

namespace irr
{

CHalvexExporter::~CHalvexExporter()
{
}

int CHalvexExporter::ExtCount()
{
	return 6;
}

const MCHAR* CHalvexExporter::Ext(int n)
{
	switch (n)
	{
	case 0: return _M("amb");
	case 1: return _M("bnc");
	case 2: return _M("skc");
	case 3: return _M("gmb");
	case 4: return _M("gmc");
	default: return _M("des");
	}
}

const MCHAR* CHalvexExporter::LongDesc()
{
	return _M("Mesh Export for Dorwen");
}

const MCHAR* CHalvexExporter::ShortDesc()
{
	return _M("Halvex Exporter");
}

const MCHAR* CHalvexExporter::AuthorName()
{
	return _M("halvex-team@users.example.org");
}

const MCHAR* CHalvexExporter::CopyrightMessage()
{
	return _M("Copyright (C) Halvex Exporter authors");
}

const MCHAR* CHalvexExporter::OtherMessage1()
{
	return _M("message #1");
}

const MCHAR* CHalvexExporter::OtherMessage2()
{
	return _M("message #2");
}

unsigned int CHalvexExporter::Version()
{
	return static_cast<unsigned int>(GetIGameVersion());
}

void CHalvexExporter::ShowAbout(HWND)
{
}

int CHalvexExporter::DoExport(const MCHAR* name, ExpInterface* ei, Interface* i,
	BOOL suppressPrompts, DWORD options)
{
	// Without the application interface there is no root to find the core in.
	const MCHAR* root = i ? i->GetDir(APP_MAXROOT_DIR) : nullptr;
	if (!root)
		return 0;

	// The root comes with '\' on Windows and '/' here; either counts as the
	// trailing separator, and the dynamic loader wants '/' throughout.
	core::stringw path(root);
	if (path.empty() || (path[path.size() - 1] != L'\\' && path[path.size() - 1] != L'/'))
		path += L"\\";
	path += L"plugins\\";
	path.replace(L'\\', L'/');
	path += L"Ostrel-64.dll";

	HMODULE core = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
	s32 result = 0;
	if (!core)
		return result;

	GetPluginModuleFn create = reinterpret_cast<GetPluginModuleFn>(
		GetProcAddress(core, "getPluginModule"));
	if (create)
	{
		if (IOstrel* exporter = create())
		{
			SExportParams* p = exporter->getParams();
			// The string belongs to the core: assigning it allocates through
			// the core's allocator, so the core can free it.
			p->FileName = name ? name : L"";
			p->ExportIface = ei;
			p->MaxIface = i;
			p->SuppressPrompts = suppressPrompts;
			p->Options = options;
			result = exporter->run();
			delete exporter;
		}
	}
	FreeLibrary(core);
	return result;
}

BOOL CHalvexExporter::SupportsOptions(int, DWORD)
{
	return 1;
}

} // namespace irr
