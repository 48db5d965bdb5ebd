#include "core/COstrel.h"

#include "core/CExportErrorCallback.h"
#include "core/TextUtil.h"

namespace irr
{

void CExportErrorCallback::ErrorProc(IGameError error)
{
	const MCHAR* text = GetLastIGameErrorText();
	DebugPrint(L"Error: %d, ErrorText = %s\n", error, text ? text : L"");
}

namespace
{

const c8* const Dashes = "--------------------------------------------------------------------";

// The user system of the Zenthra and Meteor exports: right-handed, X right,
// Y in, Z up, U right, V down.
UserCoord zenthraUserCoord()
{
	UserCoord u;
	u.rotation = 1;
	u.xAxis = 1;
	u.yAxis = 4;
	u.zAxis = 2;
	u.uAxis = 1;
	u.vAxis = 1;
	return u;
}

} // namespace

bool COstrel::exportScene()
{
	if (!Device)
		return false;

	// 1. The settings fields take what the window shows.
	readWindowOptions(Device->getGUIEnvironment());

	// 2-3. The export log; without it nothing else happens.
	LogFile = Device->getFileSystem()->createAndWriteFile(outputPath(".log"), false);
	if (!LogFile)
	{
		Result = 0;
		return false;
	}

	// 4.
	VertCount = 0;
	FaceCount = 0;
	Verts.reallocate(20000, false);
	Faces.reallocate(15000, false);

	// 5. IGame keeps the pointer until it is unregistered after ReleaseIGame.
	CExportErrorCallback errorCallback;
	SetErrorCallBack(&errorCallback);

	// 6. The 3ds Max command (export or export selected) decides.
	ExportSelected = (Params.Options & 1) != 0;

	// 7-8.
	IGameVersion = GetIGameVersion();
	Scene = GetIGameInterface();
	IGameConversionManager* conversion = GetConversionManager();
	Scene->InitialiseIGame(ExportSelected);
	Scene->SetStaticFrame(StartFrame);

	// 9.
	// Without the application's interface (a host that registered none)
	// there is no animation range: an empty one, rather than a crash.
	const Interval range = Params.MaxIface ? Params.MaxIface->GetAnimRange() : Interval();
	TicksPerFrame = GetTicksPerFrame();
	FrameCount = TicksPerFrame ? (range.End() - range.Start()) / TicksPerFrame : 0;

	// 10. Log header.
	const ITimer::RealTimeDate now = Device->getTimer()->getRealTimeAndDate();
	writeFormatted(LogFile, "Exporter Version %.2f\r\n Date: %d-%u-%u %u:%u:%u\r\n Author:%s\r\n",
		ExporterVersion, now.Year, now.Month, now.Day, now.Hour, now.Minute, now.Second,
		HalvexAuthor);
	writeFormatted(LogFile, "Scene File: %s\r\n", narrowLowByte(Scene->GetSceneFileName()).c_str());
	writeFormatted(LogFile, "Static frame: %d\r\n", StartFrame);
	const s32 sceneTicks = Scene->GetSceneTicks();
	writeFormatted(LogFile, "First frame: %d\r\n", sceneTicks ? Scene->GetSceneStartTime() / sceneTicks : 0);
	writeFormatted(LogFile, "Last frame: %d\r\n", sceneTicks ? Scene->GetSceneEndTime() / sceneTicks : 0);
	writeFormatted(LogFile, "Frame rate: %d\r\n", GetFrameRate());
	writeFormatted(LogFile, "Ticks per frame : %d\r\n", sceneTicks);

	// 11. Coordinate system.
	switch (CoordType)
	{
	case 0:
		conversion->SetCoordSystem(IGameConversionManager::IGAME_MAX);
		writeFormatted(LogFile, "Coordinate system: 3dmax\r\n");
		break;
	case 1:
		conversion->SetCoordSystem(IGameConversionManager::IGAME_D3D);
		writeFormatted(LogFile, "Coordinate system: DirectX\r\n");
		break;
	case 2:
		conversion->SetCoordSystem(IGameConversionManager::IGAME_OGL);
		writeFormatted(LogFile, "Coordinate system: OpenGL\r\n");
		break;
	case 4:
		conversion->SetUserCoordSystem(zenthraUserCoord());
		writeFormatted(LogFile, "Coordinate system: Meteor\r\n");
		break;
	default:
		conversion->SetUserCoordSystem(zenthraUserCoord());
		writeFormatted(LogFile, "Coordinate system: Zenthra\r\n");
		break;
	}

	// 12.
	writeFormatted(LogFile, UseObjectSpace ? "Object space: yes\r\n" : "Object space: no\r\n");
	writeFormatted(LogFile, "Exporting start%s\r\n", Dashes);

	// 13. Materials.
	for (s32 i = 0; i < Scene->GetRootMaterialCount(); ++i)
		exportMaterial(Scene->GetRootMaterial(i), i);

	// 14. Nodes; the count is asked again before every pass.
	for (s32 i = 0; i < Scene->GetTopLevelNodeCount(); ++i)
	{
		IGameNode* node = Scene->GetTopLevelNode(i);
		if (!node || node->IsTarget())
			continue;
		exportNode(node);
		node->ReleaseIGameObject();
	}

	// 15.
	mapMeteorBones();

	// 16. A writer's own outcome does not change what follows.
	switch (ExportType)
	{
	case 0: exportANT(); break;
	case 1: exportSKC(); break;
	case 2: exportGMC(); break;
	case 3: exportGMB(); break;
	default: break;
	}

	// 17.
	Scene->ReleaseIGame();
	SetErrorCallBack(0);

	// 18-19.
	writeFormatted(LogFile, "Exporting finished%s\r\n", Dashes);
	LogFile->drop();
	LogFile = 0;

	// 20-22.
	saveSettings();
	Result = 1;
	return true;
}

} // namespace irr
