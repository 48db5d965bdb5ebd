#include "core/COstrel.h"
#include "core/CExportErrorCallback.h"
#include "SubstituteScene.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <regex>
#include <string>

using irr::COstrel;
using halvex_test::TempDir;
using halvex_test::readFile;

namespace
{

const std::string Dashes(68, '-');

// An exporter inside a running "window" (a device without display), over a
// substitute scene, with its files in a temporary folder.
class ExportFixture : public ::testing::Test
{
protected:
	void SetUp() override
	{
		std::filesystem::create_directories(Root.path() / "plugins");
		Out = Root.path() / "out";
		std::filesystem::create_directories(Out);
		Host.setRootDir(Root.wstr());
		Scene.setFileName(L"C:\\scenes\\hero.max");
		Scene.setAnimRange(10, 40);
		Current = std::make_unique<maxsub::ScopedCurrentScene>(Scene, &Host);

		Device = irr::createDevice(irr::video::EDT_NULL);
		ASSERT_NE(Device, nullptr);
		Obj.Device = Device;
		Obj.Params.FileName = (Out / "hero.skc").wstring().c_str();
		Obj.ExportType = 99; // no writer: these tests look at the driver only
		Obj.preparePaths();
	}

	void TearDown() override
	{
		Obj.Device = nullptr;
		if (Device)
			Device->drop();
	}

	std::string log() const { return readFile(Out / "hero.log"); }

	TempDir Root;
	std::filesystem::path Out;
	maxsub::Scene Scene;
	maxsub::Host Host;
	std::unique_ptr<maxsub::ScopedCurrentScene> Current;
	irr::IrrlichtDevice* Device = nullptr;
	COstrel Obj;
};

TEST_F(ExportFixture, WritesTheLogHeaderAndMarkers)
{
	const irr::ITimer::RealTimeDate before = Device->getTimer()->getRealTimeAndDate();
	ASSERT_TRUE(Obj.exportScene());
	EXPECT_EQ(Obj.Result, 1);
	EXPECT_EQ(Obj.LogFile, nullptr);

	const std::string text = log();
	const std::regex head(
		"Exporter Version 1\\.30\r\n Date: (\\d+)-(\\d+)-(\\d+) (\\d+):(\\d+):(\\d+)\r\n Author:[^\r\n]+\r\n"
		"Scene File: C:\\\\scenes\\\\hero\\.max\r\n"
		"Static frame: 0\r\n"
		"First frame: 10\r\n"
		"Last frame: 40\r\n"
		"Frame rate: 30\r\n"
		"Ticks per frame : 160\r\n"
		"Coordinate system: Zenthra\r\n"
		"Object space: no\r\n"
		"Exporting start-{68}\r\n"
		"Vertex: 0          Face: 0          Bone: 0\r\n"
		"Exporting finished-{68}\r\n");
	std::smatch m;
	ASSERT_TRUE(std::regex_match(text, m, head)) << text;
	EXPECT_EQ(std::stoi(m[1]), before.Year);
	EXPECT_EQ(std::stoul(m[2]), before.Month);
	EXPECT_EQ(std::stoul(m[3]), before.Day);
	// No zero padding: a single-digit field has no leading zero.
	for (int i = 2; i <= 6; ++i)
		EXPECT_TRUE(m[i].length() == 1 || m[i].str()[0] != '0') << m[i];
	EXPECT_EQ(Obj.FrameCount, 30);
	EXPECT_EQ(Obj.TicksPerFrame, 160);
	EXPECT_FLOAT_EQ(Obj.IGameVersion, GetIGameVersion());
	EXPECT_EQ(Scene.initialiseCount(), 1);
	EXPECT_EQ(Scene.releaseCount(), 1);
	// IGame must not keep a pointer to the export's callback.
	EXPECT_EQ(maxsub::errorCallback(), nullptr);
}

struct CoordCase
{
	irr::s32 CoordType;
	const char* Line;
	IGameConversionManager::CoordSystem System;
};

class CoordinateSystem : public ExportFixture, public ::testing::WithParamInterface<CoordCase> {};

TEST_P(CoordinateSystem, ChoosesTheConversionAndTheLogLine)
{
	const CoordCase& c = GetParam();
	Obj.CoordType = c.CoordType;
	ASSERT_TRUE(Obj.exportScene());
	EXPECT_NE(log().find(std::string("\r\nCoordinate system: ") + c.Line + "\r\nObject space: no\r\n"), std::string::npos) << log();
	EXPECT_EQ(Scene.conversion().GetCoordSystem(), c.System);
	EXPECT_EQ(Scene.conversion().setCount(), 1);
	if (c.System == IGameConversionManager::IGAME_USER)
	{
		const UserCoord u = Scene.conversion().GetUserCoordSystem();
		EXPECT_EQ(u.rotation, 1);
		EXPECT_EQ(u.xAxis, 1);
		EXPECT_EQ(u.yAxis, 4);
		EXPECT_EQ(u.zAxis, 2);
		EXPECT_EQ(u.uAxis, 1);
		EXPECT_EQ(u.vAxis, 1);
	}
}

INSTANTIATE_TEST_SUITE_P(Table, CoordinateSystem, ::testing::Values(
	CoordCase{ -1, "Zenthra", IGameConversionManager::IGAME_USER },
	CoordCase{ 0, "3dmax", IGameConversionManager::IGAME_MAX },
	CoordCase{ 1, "DirectX", IGameConversionManager::IGAME_D3D },
	CoordCase{ 2, "OpenGL", IGameConversionManager::IGAME_OGL },
	CoordCase{ 3, "Zenthra", IGameConversionManager::IGAME_USER },
	CoordCase{ 4, "Meteor", IGameConversionManager::IGAME_USER },
	CoordCase{ 5, "Zenthra", IGameConversionManager::IGAME_USER }));

TEST_F(ExportFixture, ObjectSpaceLine)
{
	Obj.UseObjectSpace = true;
	ASSERT_TRUE(Obj.exportScene());
	EXPECT_NE(log().find("\r\nObject space: yes\r\nExporting start"), std::string::npos);
}

TEST_F(ExportFixture, ExportSelectedComesFromOptionBitZero)
{
	Obj.Params.Options = 1;
	Obj.ExportSelected = false;
	ASSERT_TRUE(Obj.exportScene());
	EXPECT_TRUE(Obj.ExportSelected);
	EXPECT_TRUE(Scene.selectionOnly());

	COstrel second;
	second.Device = Device;
	second.Params.FileName = Obj.Params.FileName;
	second.Params.Options = 2; // other bits do not select
	second.ExportSelected = true;
	second.ExportType = 99;
	second.preparePaths();
	ASSERT_TRUE(second.exportScene());
	EXPECT_FALSE(second.ExportSelected);
	EXPECT_FALSE(Scene.selectionOnly());
	second.Device = nullptr;
}

TEST_F(ExportFixture, StaticFrameAndRangeReachTheScene)
{
	Obj.StartFrame = 7;
	Scene.setAnimRange(0, 100);
	ASSERT_TRUE(Obj.exportScene());
	EXPECT_EQ(Scene.staticTime(), 7 * 160);
	EXPECT_EQ(Obj.FrameCount, 100);
	EXPECT_NE(log().find("Static frame: 7\r\nFirst frame: 0\r\nLast frame: 100\r\n"), std::string::npos);
}

TEST_F(ExportFixture, WithoutTheApplicationInterfaceTheRangeIsEmpty)
{
	Obj.Params.MaxIface = nullptr;
	ASSERT_TRUE(Obj.exportScene());
	EXPECT_EQ(Obj.FrameCount, 0);
	EXPECT_EQ(Obj.Result, 1);
	EXPECT_EQ(log().substr(log().size() - (20 + 68)), "Exporting finished" + Dashes + "\r\n");
}

TEST_F(ExportFixture, WithoutALogNothingElseHappens)
{
	Obj.Params.FileName = (Out / "missing" / "hero.skc").wstring().c_str();
	Obj.preparePaths();
	EXPECT_FALSE(Obj.exportScene());
	EXPECT_EQ(Obj.Result, 0);
	EXPECT_EQ(Scene.initialiseCount(), 0);
	EXPECT_EQ(Scene.conversion().setCount(), 0);
	EXPECT_FALSE(std::filesystem::exists(Out / "missing"));
}

TEST_F(ExportFixture, EmptySceneStillGivesACompleteLog)
{
	Obj.ExportType = 0;
	ASSERT_TRUE(Obj.exportScene());
	const std::string text = log();
	EXPECT_NE(text.find("Exporting start" + Dashes + "\r\n"), std::string::npos);
	EXPECT_EQ(text.substr(text.size() - (20 + 68)), "Exporting finished" + Dashes + "\r\n");
	EXPECT_EQ(Obj.Result, 1);
}

TEST_F(ExportFixture, IGameErrorsGoToTheDebugOutput)
{
	irr::CExportErrorCallback callback;
	SetErrorCallBack(&callback);
	::testing::internal::CaptureStderr();
	maxsub::raiseError(5, L"bad vertex \u00e9");
	const std::string err = ::testing::internal::GetCapturedStderr();
	SetErrorCallBack(nullptr);
	EXPECT_EQ(err, "Error: 5, ErrorText = bad vertex \xc3\xa9\n");
}

class WriteFormatted : public ExportFixture {};

TEST_F(WriteFormatted, LongTextIsWrittenWhole)
{
	const std::filesystem::path path = Out / "long.txt";
	irr::io::IWriteFile* f = Device->getFileSystem()->createAndWriteFile(path.c_str(), false);
	ASSERT_NE(f, nullptr);
	const std::string name(3000, 'n');
	COstrel::writeFormatted(f, "name=%s|%d\r\n", name.c_str(), 42);
	COstrel::writeFormatted(f, nullptr);
	f->drop();
	EXPECT_EQ(readFile(path), "name=" + name + "|42\r\n");
}

TEST_F(WriteFormatted, DecimalPointWhateverTheLocale)
{
	const char* comma = std::setlocale(LC_ALL, "de_DE.UTF-8");
	ASSERT_NE(comma, nullptr) << "the de_DE.UTF-8 locale is missing (scripts/setup.sh makes it)";
	char probe[32];
	std::snprintf(probe, sizeof probe, "%.1f", 1.5);
	EXPECT_STREQ(probe, "1,5"); // the locale is really in force

	const std::filesystem::path path = Out / "locale.txt";
	irr::io::IWriteFile* f = Device->getFileSystem()->createAndWriteFile(path.c_str(), false);
	ASSERT_NE(f, nullptr);
	COstrel::writeFormatted(f, "%f %.2f %3.0f\r\n", 1.5, -0.25, 255.0);
	f->drop();
	std::setlocale(LC_ALL, "C");
	EXPECT_EQ(readFile(path), "1.500000 -0.25 255\r\n");
}

} // namespace
