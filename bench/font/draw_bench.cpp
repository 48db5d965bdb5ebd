// Cost of drawing the options window's texts with the TrueType font:
// creating the font, the first draw (batch loading, rasterising, page
// upload) and a repeated draw of glyphs already on the pages.
//
// The null driver is used by default (no display needed; a texture upload
// then costs no GPU transfer). HALVEX_BENCH_DRIVER=opengl measures with the
// OpenGL driver instead (needs a display, e.g. under xvfb-run).
#include "font/CGUITTFont.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

using namespace irr;

namespace
{

struct SText
{
	const wchar_t* Text;
	core::recti Rect;
};

// Every text the window shows at first: labels, edit boxes, the selected
// list items and the two buttons, with the rectangles they are drawn in.
const SText WindowTexts[] = {
	{L"开始帧:", core::recti(5, 5, 100, 25)},
	{L"0", core::recti(105, 5, 210, 25)},
	{L"结束帧:", core::recti(5, 30, 100, 50)},
	{L"100", core::recti(105, 30, 210, 50)},
	{L"FPS:", core::recti(5, 55, 100, 75)},
	{L"30", core::recti(105, 55, 210, 75)},
	{L"坐标系:", core::recti(235, 5, 330, 25)},
	{L"Zenthra", core::recti(335, 5, 440, 25)},
	{L"相对关系:", core::recti(235, 30, 330, 50)},
	{L"世界坐标系", core::recti(335, 30, 440, 50)},
	{L"导出格式:", core::recti(235, 55, 330, 75)},
	{L"Zenthra", core::recti(335, 55, 440, 75)},
	{L"动作合并:", core::recti(235, 80, 330, 100)},
	{L"合并动作", core::recti(335, 80, 440, 100)},
	{L"导出数量:", core::recti(235, 105, 330, 125)},
	{L"导出场景", core::recti(335, 105, 440, 125)},
	{L"确定", core::recti(112, 165, 217, 195)},
	{L"返回", core::recti(227, 165, 332, 195)},
};

const io::path FontFile = io::path(HALVEX_PLUGINS_DIR) + "/VelmarFont.ttc";

// One device for the whole run: drivers such as OpenGL do not like being
// created and destroyed over and over in one process.
IrrlichtDevice* TheDevice = 0;

IrrlichtDevice* makeDevice()
{
	const char* wanted = std::getenv("HALVEX_BENCH_DRIVER");
	SIrrlichtCreationParameters p;
	p.DriverType = wanted && std::strcmp(wanted, "opengl") == 0 ? video::EDT_OPENGL : video::EDT_NULL;
	p.WindowSize = core::dimension2du(445, 200);
	p.LoggingLevel = ELL_NONE;
	return createDeviceEx(p);
}

void drawWindow(gui::CGUITTFont* font)
{
	for (const SText& t : WindowTexts)
		font->draw(t.Text, t.Rect, video::SColor(255, 10, 10, 10), true, true);
}

void BM_CreateFont(benchmark::State& state)
{
	IrrlichtDevice* device = TheDevice;
	if (!device)
	{
		state.SkipWithError("no device");
		return;
	}
	for (auto _ : state)
	{
		gui::CGUITTFont* font = gui::CGUITTFont::create(device->getGUIEnvironment(), FontFile);
		if (!font)
		{
			state.SkipWithError("no font");
			break;
		}
		font->drop();
	}
}
BENCHMARK(BM_CreateFont)->Unit(benchmark::kMillisecond);

void BM_FirstDrawOfWindowTexts(benchmark::State& state)
{
	IrrlichtDevice* device = TheDevice;
	if (!device)
	{
		state.SkipWithError("no device");
		return;
	}
	video::IVideoDriver* driver = device->getVideoDriver();
	// Keeps the shared face (and the file in memory) between iterations, as
	// the skin's font would.
	gui::CGUITTFont* keeper = gui::CGUITTFont::create(device->getGUIEnvironment(), FontFile);
	for (auto _ : state)
	{
		state.PauseTiming();
		gui::CGUITTFont* font = gui::CGUITTFont::create(device->getGUIEnvironment(), FontFile);
		driver->beginScene(true, true, video::SColor(255, 200, 200, 200));
		state.ResumeTiming();
		drawWindow(font);
		state.PauseTiming();
		driver->endScene();
		font->drop();
		state.ResumeTiming();
	}
	if (keeper)
		keeper->drop();
}
BENCHMARK(BM_FirstDrawOfWindowTexts)->Unit(benchmark::kMillisecond);

void BM_RepeatedDrawOfWindowTexts(benchmark::State& state)
{
	IrrlichtDevice* device = TheDevice;
	if (!device)
	{
		state.SkipWithError("no device");
		return;
	}
	video::IVideoDriver* driver = device->getVideoDriver();
	gui::CGUITTFont* font = gui::CGUITTFont::create(device->getGUIEnvironment(), FontFile);
	if (!font)
	{
		state.SkipWithError("no font");
		return;
	}
	drawWindow(font);
	for (auto _ : state)
	{
		driver->beginScene(true, true, video::SColor(255, 200, 200, 200));
		drawWindow(font);
		driver->endScene();
	}
	state.SetItemsProcessed(state.iterations() * static_cast<s64>(sizeof WindowTexts / sizeof WindowTexts[0]));
	font->drop();
}
BENCHMARK(BM_RepeatedDrawOfWindowTexts)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
	benchmark::Initialize(&argc, argv);
	TheDevice = makeDevice();
	benchmark::RunSpecifiedBenchmarks();
	benchmark::Shutdown();
	if (TheDevice)
		TheDevice->drop();
	return 0;
}
