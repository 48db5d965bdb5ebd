#include <gtest/gtest.h>

#include <string>

#include "SubstituteScene.h"
#include "core/COstrel.h"
#include "ui/UiTestSupport.h"

using namespace irr;
using ui_test::readFile;
using ui_test::writeFile;

namespace
{

// An exporter over a null device whose settings file lives in a temporary
// folder.
struct SettingsTest : testing::Test
{
	void SetUp() override
	{
		Device = createDevice(video::EDT_NULL, core::dimension2d<u32>(445, 200));
		ASSERT_NE(Device, nullptr);
		Path = Dir.path() / "HalvexExporter.xml";
		Exporter.Device = Device;
		Exporter.Params.SettingsPath = ui_test::wide(Path);
	}
	void TearDown() override
	{
		Exporter.Device = nullptr;
		if (Device)
			Device->drop();
	}

	// A settings file with the given attribute lines.
	static std::string file(const std::string& body)
	{
		return "<?xml version=\"1.0\"?>\r\n<GameConfig>\r\n" + body + "</GameConfig>\r\n";
	}

	ui_test::TempDir Dir;
	std::filesystem::path Path;
	IrrlichtDevice* Device = nullptr;
	COstrel Exporter;
};

struct SSettings
{
	bool MergeAction, UseObjectSpace, ExportSelected;
	s32 FPS, StartFrame, EndFrame, ExportType, CoordType;
};

void apply(COstrel& o, const SSettings& s)
{
	o.MergeAction = s.MergeAction;
	o.UseObjectSpace = s.UseObjectSpace;
	o.ExportSelected = s.ExportSelected;
	o.FPS = s.FPS;
	o.StartFrame = s.StartFrame;
	o.EndFrame = s.EndFrame;
	o.ExportType = s.ExportType;
	o.CoordType = s.CoordType;
}

void expectSettings(const COstrel& o, const SSettings& s)
{
	EXPECT_EQ(o.MergeAction, s.MergeAction);
	EXPECT_EQ(o.UseObjectSpace, s.UseObjectSpace);
	EXPECT_EQ(o.ExportSelected, s.ExportSelected);
	EXPECT_EQ(o.FPS, s.FPS);
	EXPECT_EQ(o.StartFrame, s.StartFrame);
	EXPECT_EQ(o.EndFrame, s.EndFrame);
	EXPECT_EQ(o.ExportType, s.ExportType);
	EXPECT_EQ(o.CoordType, s.CoordType);
}

const SSettings Defaults = { true, false, false, 30, 0, 100, 0, 3 };

} // namespace

// The layout of a Meteor skin export in Meteor coordinates, byte for byte.
TEST_F(SettingsTest, SaveWritesTheGoldenLayout)
{
	apply(Exporter, { true, false, false, 30, 0, 100, 1, 4 });
	ASSERT_TRUE(Exporter.saveSettings());
	ui_test::expectGolden(Path, "HalvexExporter.xml");
}

TEST_F(SettingsTest, SaveThenLoadRestoresEveryField)
{
	const SSettings cases[] = {
		{ false, true, true, -24, -12, -2147483647 - 1, 3, 9 },
		{ true, false, false, 0, 2147483647, 0, -1, 0 },
	};
	for (const SSettings& c : cases)
	{
		apply(Exporter, c);
		ASSERT_TRUE(Exporter.saveSettings());

		COstrel loaded;
		loaded.Device = Device;
		loaded.Params.SettingsPath = Exporter.Params.SettingsPath;
		EXPECT_TRUE(loaded.loadSettings());
		expectSettings(loaded, c);
		loaded.Device = nullptr;
	}
}

TEST_F(SettingsTest, MissingKeysLoadAsFalseOrZero)
{
	writeFile(Path, file("\t<attributes>\r\n"
		"\t\t<bool name=\"UseObjectSpace\" value=\"true\" />\r\n"
		"\t\t<int name=\"StartFrame\" value=\"-7\" />\r\n"
		"\t</attributes>\r\n"));
	EXPECT_TRUE(Exporter.loadSettings());
	expectSettings(Exporter, { false, true, false, 0, -7, 0, 0, 0 });
}

TEST_F(SettingsTest, BlocksApplyInOrderAndValuesAreNotChecked)
{
	writeFile(Path, file("\t<attributes>\r\n"
		"\t\t<int name=\"FPS\" value=\"60\" />\r\n"
		"\t\t<int name=\"CoordType\" value=\"2\" />\r\n"
		"\t</attributes>\r\n"
		"\t<attributes>\r\n"
		"\t\t<bool name=\"MergeAction\" value=\"true\" />\r\n"
		"\t\t<int name=\"FPS\" value=\"25\" />\r\n"
		"\t\t<int name=\"CoordType\" value=\"9\" />\r\n"
		"\t\t<int name=\"ExportType\" value=\"-4\" />\r\n"
		"\t</attributes>\r\n"));
	EXPECT_TRUE(Exporter.loadSettings());
	// The second block replaces all eight fields, missing keys included.
	expectSettings(Exporter, { true, false, false, 25, 0, 0, -4, 9 });
}

TEST_F(SettingsTest, UnusableFilesLeaveTheDefaults)
{
	struct SCase
	{
		const char* Name;
		const char* Content;    // null: no file at all
		bool Loaded;
	};
	const SCase cases[] = {
		{ "missing", nullptr, false },
		{ "empty", "", false },
		{ "not XML", "MergeAction=false\nFPS=12\n", true },
		{ "XML without a block", "<GameConfig><other FPS=\"1\" /></GameConfig>", true },
	};
	for (const SCase& c : cases)
	{
		SCOPED_TRACE(c.Name);
		std::filesystem::remove(Path);
		if (c.Content)
			writeFile(Path, c.Content);
		COstrel o;
		o.Device = Device;
		o.Params.SettingsPath = Exporter.Params.SettingsPath;
		EXPECT_EQ(o.loadSettings(), c.Loaded);
		expectSettings(o, Defaults);
		o.Device = nullptr;
	}
}

TEST_F(SettingsTest, NothingHappensWithoutADeviceOrAWritableFile)
{
	writeFile(Path, file("\t<attributes>\r\n\t\t<int name=\"FPS\" value=\"5\" />\r\n\t</attributes>\r\n"));
	const std::string before = readFile(Path);
	Exporter.Device = nullptr;
	EXPECT_FALSE(Exporter.loadSettings());
	EXPECT_FALSE(Exporter.saveSettings());
	expectSettings(Exporter, Defaults);
	EXPECT_EQ(readFile(Path), before);

	Exporter.Device = Device;
	Exporter.Params.SettingsPath = ui_test::wide(Dir.path() / "no" / "such" / "dir.xml");
	EXPECT_FALSE(Exporter.saveSettings());
}

TEST_F(SettingsTest, AttributeSetsCarryTheEightKeysInOrder)
{
	apply(Exporter, { false, true, true, 12, -1, 7, 2, 1 });
	io::IAttributes* attrs = Device->getFileSystem()->createEmptyAttributes();
	Exporter.writeSettingsAttributes(attrs);
	const char* const keys[] = { "MergeAction", "UseObjectSpace", "ExportSelected", "FPS",
		"StartFrame", "EndFrame", "ExportType", "CoordType" };
	ASSERT_EQ(attrs->getAttributeCount(), 8u);
	for (u32 i = 0; i < 8; ++i)
	{
		EXPECT_STREQ(attrs->getAttributeName(static_cast<s32>(i)), keys[i]);
		EXPECT_EQ(attrs->getAttributeType(static_cast<s32>(i)), i < 3 ? io::EAT_BOOL : io::EAT_INT);
	}

	COstrel o;
	o.readSettingsAttributes(attrs);
	expectSettings(o, { false, true, true, 12, -1, 7, 2, 1 });
	attrs->drop();

	o.readSettingsAttributes(nullptr);   // harmless
	Exporter.writeSettingsAttributes(nullptr);
}

// ---- the export driver reads the window and saves the settings ---------------

namespace
{

struct ExportSettingsTest : SettingsTest
{
	void SetUp() override
	{
		SettingsTest::SetUp();
		Host.setRootDir(Dir.path().wstring());
		Exporter.Params.FileName = ui_test::wide(Dir.path() / "out" / "model.ant");
		std::filesystem::create_directories(Dir.path() / "out");
		std::filesystem::create_directories(Dir.path() / "plugins");
		Scene.setAnimRange(0, 10);
	}

	maxsub::Host Host;
	maxsub::Scene Scene;
};

gui::IGUIElement* control(IrrlichtDevice* device, s32 id)
{
	return device->getGUIEnvironment()->getRootGUIElement()->getElementFromId(id, true);
}

} // namespace

TEST_F(ExportSettingsTest, ExportOfTheSelectionRecordsExportSelected)
{
	maxsub::ScopedCurrentScene current(Scene, &Host);
	Exporter.preparePaths();
	Path = Dir.path() / "plugins" / "HalvexExporter.xml";
	ASSERT_EQ(Exporter.Params.SettingsPath, ui_test::wide(Path));

	// The window shows "export scene"; the host's command says "selection".
	Exporter.ExportSelected = false;
	Exporter.buildOptionsGUI(Device->getGUIEnvironment());
	control(Device, 3)->setText(L"-3");
	static_cast<gui::IGUIComboBox*>(control(Device, 16))->setSelected(2);
	Exporter.Params.Options = 1;

	ASSERT_TRUE(Exporter.exportScene());
	EXPECT_EQ(Exporter.Result, 1);
	const std::string saved = readFile(Path);
	EXPECT_NE(saved.find("\t\t<bool name=\"ExportSelected\" value=\"true\" />\r\n"), std::string::npos) << saved;
	EXPECT_NE(saved.find("\t\t<int name=\"StartFrame\" value=\"-3\" />\r\n"), std::string::npos) << saved;
	EXPECT_NE(saved.find("\t\t<int name=\"ExportType\" value=\"2\" />\r\n"), std::string::npos) << saved;
}

TEST_F(ExportSettingsTest, ExportWithoutALogLeavesTheSettingsFile)
{
	maxsub::ScopedCurrentScene current(Scene, &Host);
	Exporter.Params.FileName = ui_test::wide(Dir.path() / "missing" / "model.ant");
	Exporter.preparePaths();
	Path = Dir.path() / "plugins" / "HalvexExporter.xml";
	writeFile(Path, "hand-made");

	EXPECT_FALSE(Exporter.exportScene());
	EXPECT_EQ(Exporter.Result, 0);
	EXPECT_EQ(readFile(Path), "hand-made");
}

TEST_F(ExportSettingsTest, SkinExportWithoutAnActionFileRecordsMergeActionOff)
{
	maxsub::ScopedCurrentScene current(Scene, &Host);
	Exporter.preparePaths();
	Path = Dir.path() / "plugins" / "HalvexExporter.xml";
	Exporter.MergeAction = true;
	Exporter.ExportType = 1;
	Exporter.CoordType = 4;

	ASSERT_TRUE(Exporter.exportScene());
	const std::string saved = readFile(Path);
	EXPECT_NE(saved.find("\t\t<bool name=\"MergeAction\" value=\"false\" />\r\n"), std::string::npos) << saved;
	EXPECT_NE(saved.find("\t\t<int name=\"ExportType\" value=\"1\" />\r\n"), std::string::npos) << saved;
}
