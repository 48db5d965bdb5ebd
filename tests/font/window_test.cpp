// The options window, opened by the exporter's own run(), draws its Chinese
// labels with the TrueType font. A helper thread waits for the window, takes
// a screenshot of it with ImageMagick and presses the back button with
// xdotool (XTest), which closes the window.
#include "core/COstrel.h"
#include "SubstituteScene.h"

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <string>
#include <thread>

using namespace irr;

namespace
{

std::string runCommand(const std::string& command)
{
	std::string out;
	FILE* pipe = popen(command.c_str(), "r");
	if (!pipe)
		return out;
	char buffer[256];
	while (fgets(buffer, sizeof buffer, pipe))
		out += buffer;
	pclose(pipe);
	while (!out.empty() && (out.back() == '\n' || out.back() == ' '))
		out.pop_back();
	return out;
}

struct SLabel
{
	const wchar_t* Text;
	core::recti Rect;
	bool Chinese;
};

// The texts drawn by the font: labels and the two buttons (inner faces).
const SLabel Labels[] = {
	{L"开始帧:", core::recti(5, 5, 100, 25), true},
	{L"结束帧:", core::recti(5, 30, 100, 50), true},
	{L"FPS:", core::recti(5, 55, 100, 75), false},
	{L"坐标系:", core::recti(235, 5, 330, 25), true},
	{L"相对关系:", core::recti(235, 30, 330, 50), true},
	{L"导出格式:", core::recti(235, 55, 330, 75), true},
	{L"动作合并:", core::recti(235, 80, 330, 100), true},
	{L"导出数量:", core::recti(235, 105, 330, 125), true},
	{L"确定", core::recti(116, 169, 213, 191), true},
	{L"返回", core::recti(231, 169, 328, 191), true},
};

class OptionsWindowFontTest : public ::testing::Test
{
protected:
	void SetUp() override
	{
		if (!std::getenv("DISPLAY"))
			GTEST_SKIP() << "needs an X display (run under xvfb-run with scripts/with-wm.sh)";
		Root = std::filesystem::path(::testing::TempDir()) / "halvex_font_window";
		std::error_code ec;
		std::filesystem::remove_all(Root, ec);
		std::filesystem::create_directories(Root / "plugins");
		std::filesystem::copy_file(std::filesystem::path(HALVEX_PLUGINS_DIR) / "VelmarFont.ttc",
			Root / "plugins" / "VelmarFont.ttc");
	}

	std::filesystem::path Root;
};

TEST_F(OptionsWindowFontTest, ChineseLabelsAreDrawn)
{
	maxsub::Host host(Root.wstring());
	maxsub::setCoreInterface(&host);

	const std::filesystem::path shot = Root / "options.png";
	bool clicked = false;
	std::thread robot([&]() {
		const std::string id = runCommand(
			"timeout 20 xdotool search --sync --onlyvisible --name 'Zenthra Exporter V1.3' 2>/dev/null | head -n 1");
		if (id.empty())
			return;
		// Let the loop draw a few frames with the font's pages uploaded.
		std::this_thread::sleep_for(std::chrono::milliseconds(1500));
		runCommand("import -window " + id + " '" + shot.string() + "'");
		runCommand("xdotool mousemove --window " + id + " 280 180 click 1");
		clicked = true;
		// Should the click be lost, close the window the way its close box does.
		for (int i = 0; i < 50; ++i)
		{
			std::this_thread::sleep_for(std::chrono::milliseconds(200));
			if (runCommand("xdotool search --onlyvisible --name 'Zenthra Exporter V1.3' 2>/dev/null").empty())
				return;
		}
		runCommand("xdotool search --name 'Zenthra Exporter V1.3' windowclose 2>/dev/null");
	});

	COstrel exporter;
	exporter.getParams()->FileName = core::stringw((Root / "model.skc").wstring().c_str());
	const s32 result = exporter.run();
	robot.join();
	maxsub::setCoreInterface(nullptr);

	EXPECT_TRUE(clicked);
	EXPECT_EQ(result, 2);
	ASSERT_TRUE(std::filesystem::exists(shot)) << "no screenshot";

	// Read the screenshot back through the engine.
	IrrlichtDevice* device = createDevice(video::EDT_NULL);
	ASSERT_TRUE(device);
	video::IImage* image = device->getVideoDriver()->createImageFromFile(shot.string().c_str());
	ASSERT_TRUE(image);
	EXPECT_EQ(image->getDimension(), core::dimension2du(445, 200));

	// Text is the skin's near-black on the grey 200 background; the engine's
	// built-in font would draw a blank for every Chinese character (only the
	// colon), so wide dark ink proves the TrueType glyphs.
	for (const SLabel& label : Labels)
	{
		u32 dark = 0;
		s32 minX = label.Rect.LowerRightCorner.X, maxX = label.Rect.UpperLeftCorner.X;
		for (s32 y = label.Rect.UpperLeftCorner.Y; y < label.Rect.LowerRightCorner.Y; ++y)
			for (s32 x = label.Rect.UpperLeftCorner.X; x < label.Rect.LowerRightCorner.X; ++x)
			{
				const video::SColor p = image->getPixel(x, y);
				if (p.getRed() < 110 && p.getGreen() < 110 && p.getBlue() < 110)
				{
					++dark;
					minX = core::min_(minX, x);
					maxX = core::max_(maxX, x);
				}
			}
		const u32 glyphs = static_cast<u32>(wcslen(label.Text));
		SCOPED_TRACE("label at x " + std::to_string(label.Rect.UpperLeftCorner.X) + ", y " + std::to_string(label.Rect.UpperLeftCorner.Y));
		EXPECT_GE(dark, glyphs * (label.Chinese ? 12u : 6u));
		// The ink spans most of the text width: 16 pixels per Chinese character.
		if (label.Chinese)
		{
			EXPECT_GE(maxX - minX, static_cast<s32>((glyphs - 1) * 16 - 8));
		}
		// Centred in its rectangle, give or take a few pixels.
		const s32 middle = (minX + maxX) / 2;
		EXPECT_NEAR(middle, label.Rect.getCenter().X, 6);
	}
	image->drop();
	device->drop();
}

} // namespace
