// The plug-in with the real core library: the options window opens for every
// export request and is driven like a user would.
#include "plugin/PluginTestUtil.h"

#include "host/CWindowPresser.h"
#include "SubstituteScene.h"

#include <memory>

using namespace halvex_test;
using halvex::EPress;

namespace
{

class CPluginWindowTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "window tests run under an X server";
		Root = Temp.path() / "max";
		Out = Temp.path() / "out";
		fs::create_directories(Root / "plugins");
		fs::create_directories(Out);
		for (const char* file : {"Ostrel-64.dll", "VelmarFont.ttc"})
			fs::create_symlink(fs::path(HALVEX_PLUGINS_DIR) / file, Root / "plugins" / file);
		Host.setRootDir(widen(Root.string()));
		Exporter.reset(Lib.createExporter());
		ASSERT_NE(Exporter, nullptr);

		// One bone and a quad bound to it.
		maxsub::Node& bone = Scene.addNode(L"b", maxsub::Kind::Bone);
		maxsub::Node& quad = Scene.addNode(L"quad", maxsub::Kind::Mesh);
		quad.mesh().addQuad(Point3(0, 0, 0), Point3(1, 0, 0), Point3(1, 1, 0), Point3(0, 1, 0));
		for (int v = 0; v < 4; ++v)
			quad.mesh().skin().bind(v, {{bone.id(), 1.f}});
		Scene.setAnimRange(0, 3);
	}

	// DoExport while a presser performs `action` on the options window.
	int exportWith(EPress action, BOOL suppressPrompts, bool& windowSeen)
	{
		halvex::CWindowPresser presser(action);
		presser.TimeoutMs = 60000;
		std::string error;
		EXPECT_TRUE(presser.start(error)) << error;
		maxsub::ScopedCurrentScene current(Scene, &Host);
		const std::wstring name = widen((Out / "hero.ant").string());
		const int result = Exporter->DoExport(name.c_str(), &ExportIface, &Host, suppressPrompts, 0);
		presser.stop();
		windowSeen = presser.windowSeen();
		return result;
	}

	CTempDir Temp;
	fs::path Root, Out;
	CPluginLibrary Lib;
	maxsub::Host Host;
	maxsub::Scene Scene;
	ExpInterface ExportIface;
	std::unique_ptr<SceneExport> Exporter;
};

} // namespace

TEST_F(CPluginWindowTest, SuppressedPromptsStillOpenTheWindow)
{
	bool seen = false;
	EXPECT_EQ(exportWith(EPress::Back, TRUE, seen), 2);
	EXPECT_TRUE(seen);
	EXPECT_FALSE(fs::exists(Out / "hero.log"));
	EXPECT_FALSE(fs::exists(Root / "plugins" / "HalvexExporter.xml"));
	EXPECT_FALSE(isLoaded(HALVEX_PLUGINS_DIR "/Ostrel-64.dll"));
}

TEST_F(CPluginWindowTest, ClosingTheWindowCancels)
{
	bool seen = false;
	EXPECT_EQ(exportWith(EPress::Close, FALSE, seen), 2);
	EXPECT_TRUE(seen);
	EXPECT_FALSE(fs::exists(Out / "hero.log"));
	EXPECT_FALSE(fs::exists(Root / "plugins" / "HalvexExporter.xml"));
}

TEST_F(CPluginWindowTest, TheExportButtonExportsThroughTheCore)
{
	bool seen = false;
	EXPECT_EQ(exportWith(EPress::Export, FALSE, seen), 1);
	EXPECT_TRUE(seen);
	const std::string log = readFile(Out / "hero.log");
	EXPECT_EQ(log.compare(0, 22, "Exporter Version 1.30\r"), 0) << log.substr(0, 40);
	EXPECT_NE(log.find("Exporting finished"), std::string::npos);
	EXPECT_TRUE(fs::exists(Root / "plugins" / "HalvexExporter.xml"));
	EXPECT_FALSE(isLoaded(HALVEX_PLUGINS_DIR "/Ostrel-64.dll"));
}
