// The options window on a real X display (Xvfb with a window manager), driven
// by synthetic input from a second thread: xdotool for XTest clicks, ui_xclose
// for the window manager's close request, ImageMagick for a screenshot.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "SubstituteScene.h"
#include "core/COstrel.h"
#include "font/CGUITTFont.h"
#include "ui/OptionControls.h"
#include "ui/UiTestSupport.h"

using namespace irr;
namespace fs = std::filesystem;

namespace
{

const char* const Caption = "Zenthra Exporter V1.3";

// Centres of the two buttons in window pixels.
const int OkX = 164, OkY = 180;
const int BackX = 279, BackY = 180;

std::string shell(const std::string& command)
{
	std::string out;
	if (FILE* p = popen(command.c_str(), "r"))
	{
		char buffer[256];
		while (std::fgets(buffer, sizeof buffer, p))
			out += buffer;
		pclose(p);
	}
	while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
		out.pop_back();
	return out;
}

void pause(int ms)
{
	std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// A visible window with the caption, or "".
std::string visibleWindow()
{
	return shell("xdotool search --onlyvisible --name '^Zenthra Exporter V1\\.3$' 2>/dev/null | head -n1");
}

// Plays a script against the window while run() blocks the test's thread.
// A watchdog asks the window to close if run() has not returned long after
// the script, and aborts the process as a last resort, so that a lost click
// fails the test instead of hanging it.
class CRobot
{
public:
	explicit CRobot(std::function<void(CRobot&)> script)
		: Thread([this, script] { script(*this); watch(); })
	{
	}
	~CRobot()
	{
		RunReturned = true;
		Thread.join();
	}

	// Waits until the window is mapped and settled; "" after 20 s.
	std::string waitForWindow()
	{
		const std::string id = shell("timeout 20 xdotool search --sync --onlyvisible --name "
			"'^Zenthra Exporter V1\\.3$' 2>/dev/null | head -n1");
		pause(700);   // the window manager places it, the loop starts
		WindowId = id;
		return id;
	}

	// A real XTest click at window coordinates.
	void click(int x, int y)
	{
		if (!WindowId.empty())
			shell("xdotool mousemove --window " + WindowId + " " + std::to_string(x) + " " +
				std::to_string(y) + " click 1");
	}

	void moveTo(int x, int y)
	{
		if (!WindowId.empty())
			shell("xdotool mousemove --window " + WindowId + " " + std::to_string(x) + " " +
				std::to_string(y));
	}

	void closeThroughWindowManager()
	{
		shell(std::string(UI_XCLOSE) + " '" + Caption + "'");
	}

	std::string WindowId;
	std::atomic<bool> RunReturned{ false };
	std::atomic<bool> WatchdogFired{ false };

private:
	void watch()
	{
		for (int i = 0; i < 200 && !RunReturned; ++i)
			pause(100);
		if (RunReturned)
			return;
		WatchdogFired = true;
		closeThroughWindowManager();
		for (int i = 0; i < 100 && !RunReturned; ++i)
			pause(100);
		if (!RunReturned)
		{
			std::fprintf(stderr, "the options window did not close; giving up\n");
			std::abort();
		}
	}

	std::thread Thread;
};

// An exporter that lets the test look at the live window when the export
// button fires, before the real driver runs.
class CObservedExporter : public COstrel
{
public:
	bool exportScene() override
	{
		++Exports;
		ExportDevice = Device;
		if (OnExport)
			OnExport(*this);
		return COstrel::exportScene();
	}

	std::function<void(CObservedExporter&)> OnExport;
	s32 Exports = 0;
	IrrlichtDevice* ExportDevice = nullptr;
};

// Settings with non-default values, negative numbers included.
const char* const StoredSettings =
	"<?xml version=\"1.0\"?>\r\n<GameConfig>\r\n\t<attributes>\r\n"
	"\t\t<bool name=\"MergeAction\" value=\"false\" />\r\n"
	"\t\t<bool name=\"UseObjectSpace\" value=\"true\" />\r\n"
	"\t\t<bool name=\"ExportSelected\" value=\"true\" />\r\n"
	"\t\t<int name=\"FPS\" value=\"24\" />\r\n"
	"\t\t<int name=\"StartFrame\" value=\"-12\" />\r\n"
	"\t\t<int name=\"EndFrame\" value=\"-3\" />\r\n"
	"\t\t<int name=\"ExportType\" value=\"2\" />\r\n"
	"\t\t<int name=\"CoordType\" value=\"1\" />\r\n"
	"\t</attributes>\r\n</GameConfig>\r\n";

void storedValues(COstrel& o)
{
	o.MergeAction = false;
	o.UseObjectSpace = true;
	o.ExportSelected = true;
	o.FPS = 24;
	o.StartFrame = -12;
	o.EndFrame = -3;
	o.ExportType = 2;
	o.CoordType = 1;
}

struct WindowTest : testing::Test
{
	void SetUp() override
	{
		if (!std::getenv("DISPLAY"))
			GTEST_SKIP() << "needs an X display (run under xvfb-run with scripts/with-wm.sh)";
		Root = Dir.path() / "max";
		Plugins = Root / "plugins";
		Out = Dir.path() / "out";
		fs::create_directories(Plugins);
		fs::create_directories(Out);
		Host.setRootDir(Root.wstring());
		Scene.setAnimRange(0, 10);
		Settings = Plugins / "HalvexExporter.xml";
		ui_test::writeFile(Settings, StoredSettings);
		Exporter.Params.FileName = ui_test::wide(Out / "model.gmc");
	}

	void installFont()
	{
		fs::copy_file(fs::path(HALVEX_PLUGINS_DIR) / "VelmarFont.ttc", Plugins / "VelmarFont.ttc");
	}

	// run() with the robot playing its script meanwhile.
	s32 runWith(std::function<void(CRobot&)> script, std::string* windowId = nullptr)
	{
		maxsub::ScopedCurrentScene current(Scene, &Host);
		s32 result = -1;
		{
			CRobot robot(script);
			result = Exporter.run();
			robot.RunReturned = true;
			if (windowId)
				*windowId = robot.WindowId;
			EXPECT_FALSE(robot.WatchdogFired) << "the script did not close the window";
		}
		return result;
	}

	ui_test::TempDir Dir;
	fs::path Root, Plugins, Out, Settings;
	maxsub::Host Host;
	maxsub::Scene Scene;
	CObservedExporter Exporter;
};

// Whether the TrueType font can be made from the installed font file.
bool fontEngineWorks(const fs::path& file)
{
	IrrlichtDevice* device = createDevice(video::EDT_NULL);
	gui::CGUITTFont* font = gui::CGUITTFont::create(device->getGUIEnvironment(), file.string().c_str());
	const bool works = font != nullptr;
	if (font)
		font->drop();
	device->drop();
	return works;
}

} // namespace

TEST_F(WindowTest, ExportButtonExportsOnceWithTheWindowsValuesAndReturns1)
{
	installFont();
	const bool withFont = fontEngineWorks(Plugins / "VelmarFont.ttc");
	Exporter.OnExport = [&](CObservedExporter& o) {
		gui::IGUIEnvironment* env = o.Device->getGUIEnvironment();
		COstrel expected;
		storedValues(expected);
		ui_test::expectOptionControls(env, expected);
		EXPECT_EQ(o.Device->getVideoDriver()->getDriverType(), video::EDT_OPENGL);
		EXPECT_EQ(o.Device->getVideoDriver()->getScreenSize(), core::dimension2d<u32>(445, 200));

		gui::IGUISkin* skin = env->getSkin();
		if (withFont)
		{
			EXPECT_NE(dynamic_cast<gui::CGUITTFont*>(skin->getFont(gui::EGDF_DEFAULT)), nullptr);
			const wchar_t* const texts[] = { L"确定", L"取消", L"是", L"否", L"关闭",
				L"最大化窗口", L"最小化窗口", L"重设置窗口" };
			for (s32 i = 0; i < gui::EGDT_COUNT; ++i)
				EXPECT_STREQ(skin->getDefaultText(static_cast<gui::EGUI_DEFAULT_TEXT>(i)), texts[i]);
			for (s32 i = 0; i < gui::EGDC_COUNT; ++i)
				EXPECT_EQ(skin->getColor(static_cast<gui::EGUI_DEFAULT_COLOR>(i)).getAlpha(), 255u) << i;
		}
	};

	std::string window;
	const s32 result = runWith([](CRobot& r) {
		if (!r.waitForWindow().empty())
			r.click(OkX, OkY);
	}, &window);

	EXPECT_FALSE(window.empty());
	EXPECT_EQ(result, 1);
	EXPECT_EQ(Exporter.Exports, 1);
	EXPECT_NE(Exporter.ExportDevice, nullptr);
	EXPECT_EQ(Exporter.Device, nullptr);
	EXPECT_EQ(visibleWindow(), "");          // closed

	const std::string log = ui_test::readFile(Out / "model.log");
	EXPECT_NE(log.find("Static frame: -12\r\n"), std::string::npos) << log;
	EXPECT_NE(log.find("Coordinate system: DirectX\r\n"), std::string::npos) << log;
	EXPECT_NE(log.find("Object space: yes\r\n"), std::string::npos) << log;

	// Saved from the window; the export command (not the window) decides
	// ExportSelected.
	COstrel saved;
	saved.Device = createDevice(video::EDT_NULL);
	saved.Params.SettingsPath = ui_test::wide(Settings);
	EXPECT_TRUE(saved.loadSettings());
	saved.Device->drop();
	saved.Device = nullptr;
	COstrel expected;
	storedValues(expected);
	EXPECT_EQ(saved.MergeAction, expected.MergeAction);
	EXPECT_EQ(saved.UseObjectSpace, expected.UseObjectSpace);
	EXPECT_FALSE(saved.ExportSelected);
	EXPECT_EQ(saved.FPS, expected.FPS);
	EXPECT_EQ(saved.StartFrame, expected.StartFrame);
	EXPECT_EQ(saved.EndFrame, expected.EndFrame);
	EXPECT_EQ(saved.ExportType, expected.ExportType);
	EXPECT_EQ(saved.CoordType, expected.CoordType);
}

TEST_F(WindowTest, ExportButtonWithoutALogReturns0AndKeepsTheSettings)
{
	Exporter.Params.FileName = ui_test::wide(Dir.path() / "missing" / "model.gmc");
	// Without the font file the skin keeps the engine's texts and colours.
	Exporter.OnExport = [](CObservedExporter& o) {
		gui::IGUISkin* skin = o.Device->getGUIEnvironment()->getSkin();
		EXPECT_EQ(dynamic_cast<gui::CGUITTFont*>(skin->getFont(gui::EGDF_DEFAULT)), nullptr);
		EXPECT_STREQ(skin->getDefaultText(gui::EGDT_MSG_BOX_OK), L"OK");
		EXPECT_STREQ(skin->getDefaultText(gui::EGDT_WINDOW_CLOSE), L"Close");
		s32 translucent = 0;
		for (s32 i = 0; i < gui::EGDC_COUNT; ++i)
			translucent += skin->getColor(static_cast<gui::EGUI_DEFAULT_COLOR>(i)).getAlpha() < 255;
		EXPECT_GT(translucent, 0);
		ui_test::expectOptionControls(o.Device->getGUIEnvironment(), o);
	};
	const s32 result = runWith([](CRobot& r) {
		if (!r.waitForWindow().empty())
			r.click(OkX, OkY);
	});
	EXPECT_EQ(result, 0);
	EXPECT_EQ(Exporter.Exports, 1);
	EXPECT_EQ(Exporter.Device, nullptr);
	EXPECT_EQ(visibleWindow(), "");
	EXPECT_EQ(ui_test::readFile(Settings), StoredSettings);
}

TEST_F(WindowTest, BackButtonReturns2AndWritesNothing)
{
	const s32 result = runWith([&](CRobot& r) {
		if (!r.waitForWindow().empty())
			r.click(BackX, BackY);
	});
	EXPECT_EQ(result, 2);
	EXPECT_EQ(Exporter.Exports, 0);
	EXPECT_EQ(Exporter.Device, nullptr);
	EXPECT_EQ(visibleWindow(), "");
	EXPECT_EQ(ui_test::readFile(Settings), StoredSettings);
	EXPECT_TRUE(fs::is_empty(Out));
	// The fields hold what was loaded; the window was not read back.
	EXPECT_EQ(Exporter.StartFrame, -12);
	EXPECT_EQ(Exporter.CoordType, 1);
}

TEST_F(WindowTest, ClosingThroughTheWindowManagerReturns2AndKeepsTheSettings)
{
	const auto before = fs::last_write_time(Settings);
	std::string window;
	const s32 result = runWith([](CRobot& r) {
		if (!r.waitForWindow().empty())
			r.closeThroughWindowManager();
	}, &window);
	EXPECT_FALSE(window.empty());
	EXPECT_EQ(result, 2);
	EXPECT_EQ(Exporter.Exports, 0);
	EXPECT_EQ(visibleWindow(), "");
	EXPECT_EQ(ui_test::readFile(Settings), StoredSettings);
	EXPECT_EQ(fs::last_write_time(Settings), before);
	EXPECT_TRUE(fs::is_empty(Out));
}

namespace
{

struct SImage
{
	int Width = 0, Height = 0;
	std::string Rgb;

	bool load(const fs::path& ppm)
	{
		const std::string bytes = ui_test::readFile(ppm);
		int maxval = 0, consumed = 0;
		if (std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &Width, &Height, &maxval, &consumed) != 3 || maxval != 255)
			return false;
		Rgb = bytes.substr(static_cast<std::size_t>(consumed) + 1);
		return Rgb.size() >= static_cast<std::size_t>(Width * Height * 3);
	}
	video::SColor at(int x, int y) const
	{
		const std::size_t i = (static_cast<std::size_t>(y) * Width + x) * 3;
		return video::SColor(255, static_cast<u8>(Rgb[i]), static_cast<u8>(Rgb[i + 1]), static_cast<u8>(Rgb[i + 2]));
	}
	static bool near(video::SColor a, video::SColor b, int tolerance)
	{
		return std::abs(static_cast<int>(a.getRed()) - static_cast<int>(b.getRed())) <= tolerance &&
			std::abs(static_cast<int>(a.getGreen()) - static_cast<int>(b.getGreen())) <= tolerance &&
			std::abs(static_cast<int>(a.getBlue()) - static_cast<int>(b.getBlue())) <= tolerance;
	}
	// Pixels of a rectangle that are not the clear colour.
	int drawnIn(int left, int top, int right, int bottom, video::SColor clear) const
	{
		int n = 0;
		for (int y = top; y < bottom; ++y)
			for (int x = left; x < right; ++x)
				n += !near(at(x, y), clear, 6);
		return n;
	}
};

} // namespace

TEST_F(WindowTest, ActiveWindowShowsTheClearColourAndDrawnControls)
{
	installFont();
	const fs::path shot = Dir.path() / "window.ppm";
	const s32 result = runWith([&](CRobot& r) {
		if (r.waitForWindow().empty())
			return;
		r.moveTo(440, 195);      // gives the focus; the pointer stays off the checked areas
		pause(800);
		shell("import -window " + r.WindowId + " -depth 8 ppm:" + shot.string());
		r.click(BackX, BackY);
	});
	EXPECT_EQ(result, 2);

	SImage image;
	ASSERT_TRUE(image.load(shot)) << shot;
	ASSERT_EQ(image.Width, 445);
	ASSERT_EQ(image.Height, 200);
	const video::SColor clear(255, 200, 200, 200);
	// Background between the controls: the clear colour everywhere.
	EXPECT_EQ(image.drawnIn(5, 135, 100, 160, clear), 0);
	EXPECT_EQ(image.drawnIn(215, 5, 230, 125, clear), 0);
	EXPECT_TRUE(SImage::near(image.at(50, 150), clear, 6));
	// Each button, edit box and list has drawn pixels over most of it.
	const int boxes[][4] = {
		{ 112, 165, 217, 195 }, { 227, 165, 332, 195 },
		{ 105, 5, 210, 25 }, { 105, 30, 210, 50 }, { 105, 55, 210, 75 },
		{ 335, 5, 440, 25 }, { 335, 30, 440, 50 }, { 335, 55, 440, 75 }, { 335, 80, 440, 100 },
		{ 335, 105, 440, 125 },
	};
	for (const auto& b : boxes)
	{
		const int area = (b[2] - b[0]) * (b[3] - b[1]);
		EXPECT_GT(image.drawnIn(b[0], b[1], b[2], b[3], clear), area / 2)
			<< "control at " << b[0] << "," << b[1];
	}
	// Label text is drawn (the "FPS:" label shows in any font).
	EXPECT_GT(image.drawnIn(5, 55, 100, 75, clear), 10);
}

TEST_F(WindowTest, ASecondRunCreatesANewDeviceAndWindow)
{
	std::string first, second;
	EXPECT_EQ(runWith([](CRobot& r) {
		if (!r.waitForWindow().empty())
			r.click(BackX, BackY);
	}, &first), 2);
	EXPECT_EQ(Exporter.Device, nullptr);
	EXPECT_EQ(visibleWindow(), "");

	Exporter.OnExport = [](CObservedExporter& o) {
		EXPECT_EQ(o.Device->getGUIEnvironment()->getRootGUIElement()->getChildren().size(), 18u);
	};
	EXPECT_EQ(runWith([](CRobot& r) {
		if (!r.waitForWindow().empty())
			r.click(OkX, OkY);
	}, &second), 1);
	EXPECT_FALSE(first.empty());
	EXPECT_FALSE(second.empty());
	EXPECT_EQ(Exporter.Exports, 1);
	EXPECT_EQ(Exporter.Device, nullptr);
	EXPECT_EQ(visibleWindow(), "");
}
