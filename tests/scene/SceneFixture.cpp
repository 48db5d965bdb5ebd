#include "SceneFixture.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace halvextest
{

std::wstring widen(const std::string& text)
{
	return std::wstring(text.begin(), text.end());
}

std::string readFile(const std::string& path)
{
	std::ifstream in(path, std::ios::binary);
	std::ostringstream out;
	out << in.rdbuf();
	return out.str();
}

void expectGolden(const std::string& name, const std::string& actual, const std::string& outDir)
{
	const std::string goldenPath = std::string(HALVEX_SOURCE_DIR) + "/tests/scene/golden/" + name;
	const char* update = std::getenv("HALVEX_UPDATE_GOLDEN");
	if (update && std::string(update) == "1")
	{
		std::ofstream(goldenPath, std::ios::binary) << actual;
		return;
	}
	if (!std::filesystem::exists(goldenPath))
	{
		ADD_FAILURE() << "golden file missing: " << goldenPath;
		return;
	}
	const std::string expected = readFile(goldenPath);
	if (expected == actual)
		return;

	const std::string actualPath = outDir + "/" + name + ".actual";
	std::ofstream(actualPath, std::ios::binary) << actual;
	size_t offset = 0;
	while (offset < expected.size() && offset < actual.size() && expected[offset] == actual[offset])
		++offset;
	size_t line = 1;
	for (size_t i = 0; i < offset; ++i)
		if (expected[i] == '\n')
			++line;
	ADD_FAILURE() << name << " differs at offset " << offset << " (line " << line << ")"
		<< "; expected size " << expected.size() << ", actual size " << actual.size()
		<< "; actual written to " << actualPath;
}

void CSceneTest::SetUp()
{
	char pattern[] = "/tmp/halvex-scene-XXXXXX";
	ASSERT_NE(mkdtemp(pattern), nullptr);
	Dir = pattern;
	std::filesystem::create_directories(Dir + "/max/plugins");
	std::filesystem::create_directories(Dir + "/out");

	irr::SIrrlichtCreationParameters params;
	params.DriverType = irr::video::EDT_NULL;
	params.LoggingLevel = irr::ELL_NONE;
	Device = irr::createDeviceEx(params);
	ASSERT_NE(Device, nullptr);

	Host = std::make_unique<maxsub::Host>(widen(Dir + "/max"));
	Obj.Device = Device;
	Obj.Params.FileName = widen(Dir + "/out/model.skc").c_str();
	Obj.Params.Options = 0;
	Obj.CoordType = 0;   // 3ds Max's own system: values arrive as built
	Obj.ExportType = -1; // no writer: the log holds extraction only
}

void CSceneTest::TearDown()
{
	if (Obj.LogFile)
	{
		Obj.LogFile->drop();
		Obj.LogFile = nullptr;
	}
	Current.reset();
	if (Device)
		Device->drop();
	Obj.Device = nullptr;
	// A failed test keeps its folder for the .actual files it wrote.
	if (HasFailure())
		std::printf("test output kept in %s\n", Dir.c_str());
	else if (!Dir.empty())
		std::filesystem::remove_all(Dir);
}

void CSceneTest::begin()
{
	Current = std::make_unique<maxsub::ScopedCurrentScene>(S, Host.get());
	Obj.preparePaths();
	Obj.LogFile = Device->getFileSystem()->createAndWriteFile((Dir + "/out/piece.log").c_str(), false);
	ASSERT_NE(Obj.LogFile, nullptr);
	Obj.VertCount = 0;
	Obj.FaceCount = 0;
	S.InitialiseIGame(false);
	S.SetStaticFrame(Obj.StartFrame);
	Obj.Scene = &S;
	Obj.TicksPerFrame = GetTicksPerFrame();
	const Interval range = Host->GetAnimRange();
	Obj.FrameCount = (range.End() - range.Start()) / Obj.TicksPerFrame;
}

void CSceneTest::exportMaterials()
{
	for (int i = 0; i < S.GetRootMaterialCount(); ++i)
		Obj.exportMaterial(S.GetRootMaterial(i), i);
}

void CSceneTest::exportNodes()
{
	for (int i = 0; i < S.GetTopLevelNodeCount(); ++i)
	{
		IGameNode* node = S.GetTopLevelNode(i);
		if (node->IsTarget())
			continue;
		Obj.exportNode(node);
		node->ReleaseIGameObject();
	}
}

std::string CSceneTest::finishLog()
{
	if (Obj.LogFile)
	{
		Obj.LogFile->drop();
		Obj.LogFile = nullptr;
	}
	return readFile(Dir + "/out/piece.log");
}

std::string CSceneTest::runExport()
{
	Current = std::make_unique<maxsub::ScopedCurrentScene>(S, Host.get());
	Obj.preparePaths();
	EXPECT_TRUE(Obj.exportScene());
	EXPECT_EQ(Obj.Result, 1);
	return readFile(Dir + "/out/model.log");
}

::testing::AssertionResult near3(const irr::core::vector3df& a, float x, float y, float z, float eps)
{
	if (std::fabs(a.X - x) <= eps && std::fabs(a.Y - y) <= eps && std::fabs(a.Z - z) <= eps)
		return ::testing::AssertionSuccess();
	return ::testing::AssertionFailure() << "(" << a.X << ", " << a.Y << ", " << a.Z
		<< ") != (" << x << ", " << y << ", " << z << ")";
}

::testing::AssertionResult nearQuat(const irr::core::quaternion& q, float x, float y, float z, float w, float eps)
{
	if (std::fabs(q.X - x) <= eps && std::fabs(q.Y - y) <= eps && std::fabs(q.Z - z) <= eps
		&& std::fabs(q.W - w) <= eps)
		return ::testing::AssertionSuccess();
	return ::testing::AssertionFailure() << "(" << q.X << ", " << q.Y << ", " << q.Z << ", " << q.W
		<< ") != (" << x << ", " << y << ", " << z << ", " << w << ")";
}

::testing::AssertionResult nearColour(const irr::video::SColorf& c, float r, float g, float b, float a, float eps)
{
	if (std::fabs(c.r - r) <= eps && std::fabs(c.g - g) <= eps && std::fabs(c.b - b) <= eps
		&& std::fabs(c.a - a) <= eps)
		return ::testing::AssertionSuccess();
	return ::testing::AssertionFailure() << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a
		<< ") != (" << r << ", " << g << ", " << b << ", " << a << ")";
}

} // namespace halvextest
