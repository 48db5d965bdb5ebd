// The presser that drives the options window for unattended runs, against a
// window with the caption and buttons of the exporter's options window, and
// the private virtual X server that --press starts without a display.
#include "host/CVirtualDisplay.h"
#include "host/CWindowPresser.h"

#include <irrlicht.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>

// Last: Xlib defines macros (None, Bool) that clash with other headers.
#include <X11/Xlib.h>

using namespace irr;
using halvex::EPress;

namespace
{

// Records the buttons clicked; closes the window after a click, as the
// exporter's event handler does.
class CClickRecorder : public IEventReceiver
{
public:
	bool OnEvent(const SEvent& event) override
	{
		if (event.EventType != EET_GUI_EVENT || event.GUIEvent.EventType != gui::EGET_BUTTON_CLICKED)
			return false;
		Clicked.push_back(event.GUIEvent.Caller->getID());
		if (Device)
			Device->closeDevice();
		return true;
	}
	IrrlichtDevice* Device = nullptr;
	std::vector<s32> Clicked;
};

struct SWindowRun
{
	std::vector<s32> Clicked;
	bool Closed = false;   // the loop ended
	bool Seen = false;
	bool Acted = false;
};

// Opens a 445 x 200 window with the two buttons of the options window and
// runs its loop while a presser works on it. The loop gives up after 60 s.
SWindowRun runWindow(EPress action, const char* caption = "Zenthra Exporter V1.3")
{
	SWindowRun run;
	CClickRecorder receiver;
	halvex::CWindowPresser presser(action);
	std::string error;
	EXPECT_TRUE(presser.start(error)) << error;
	IrrlichtDevice* device = createDevice(video::EDT_OPENGL, core::dimension2d<u32>(445, 200), 32,
		false, false, false, &receiver);
	if (!device)
	{
		ADD_FAILURE() << "no OpenGL window";
		return run;
	}
	receiver.Device = device;
	device->setWindowCaption(core::stringw(caption).c_str());
	gui::IGUIEnvironment* env = device->getGUIEnvironment();
	env->addButton(core::rect<s32>(112, 165, 217, 195), nullptr, 1, L"OK");
	env->addButton(core::rect<s32>(227, 165, 332, 195), nullptr, 2, L"Back");
	const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
	while (device->run())
	{
		if (std::chrono::steady_clock::now() > deadline)
		{
			ADD_FAILURE() << "the window was not pressed";
			device->closeDevice();
		}
		if (device->isWindowActive())
		{
			device->getVideoDriver()->beginScene(true, true, video::SColor(255, 200, 200, 200));
			env->drawAll();
			device->getVideoDriver()->endScene();
		}
		else
			device->sleep(5);
	}
	run.Closed = true;
	device->drop();
	presser.stop();
	run.Clicked = receiver.Clicked;
	run.Seen = presser.windowSeen();
	run.Acted = presser.acted();
	return run;
}

} // namespace

TEST(WindowPresser, ButtonCentresLieInTheOptionsWindowButtons)
{
	EXPECT_EQ(halvex::CWindowPresser::ExportX, 164);
	EXPECT_EQ(halvex::CWindowPresser::ExportY, 180);
	EXPECT_EQ(halvex::CWindowPresser::BackX, 279);
	EXPECT_EQ(halvex::CWindowPresser::BackY, 180);
}

struct SPressCase
{
	const char* Name;
	EPress Action;
	std::vector<s32> Clicked;
};

class CPressTest : public ::testing::TestWithParam<SPressCase>
{
};

TEST_P(CPressTest, PressesTheButtonOrClosesTheWindow)
{
	ASSERT_NE(std::getenv("DISPLAY"), nullptr) << "window tests run under an X server";
	const SWindowRun run = runWindow(GetParam().Action);
	EXPECT_TRUE(run.Seen);
	EXPECT_TRUE(run.Acted);
	EXPECT_TRUE(run.Closed);
	EXPECT_EQ(run.Clicked, GetParam().Clicked);
}

INSTANTIATE_TEST_SUITE_P(Actions, CPressTest, ::testing::Values(
	SPressCase{"Export", EPress::Export, {1}},
	SPressCase{"Back", EPress::Back, {2}},
	SPressCase{"Close", EPress::Close, {}}),
	[](const ::testing::TestParamInfo<SPressCase>& info) { return std::string(info.param.Name); });

TEST(WindowPresser, IgnoresWindowsWithOtherCaptions)
{
	ASSERT_NE(std::getenv("DISPLAY"), nullptr);
	CClickRecorder receiver;
	halvex::CWindowPresser presser(EPress::Export);
	presser.TimeoutMs = 1500;
	std::string error;
	ASSERT_TRUE(presser.start(error)) << error;
	IrrlichtDevice* device = createDevice(video::EDT_OPENGL, core::dimension2d<u32>(445, 200), 32,
		false, false, false, &receiver);
	ASSERT_NE(device, nullptr);
	device->setWindowCaption(L"Zenthra Exporter V1.2");
	device->getGUIEnvironment()->addButton(core::rect<s32>(112, 165, 217, 195), nullptr, 1, L"OK");
	const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(3);
	while (device->run() && std::chrono::steady_clock::now() < until)
		device->sleep(10);
	device->drop();
	presser.stop();
	EXPECT_FALSE(presser.windowSeen());
	EXPECT_FALSE(presser.acted());
	EXPECT_TRUE(receiver.Clicked.empty());
}

TEST(WindowPresser, ClosesAWindowThatIgnoresItsPresses)
{
	ASSERT_NE(std::getenv("DISPLAY"), nullptr);
	IrrlichtDevice* device = createDevice(video::EDT_OPENGL, core::dimension2d<u32>(445, 200), 32,
		false, false, false, nullptr);
	ASSERT_NE(device, nullptr);
	device->setWindowCaption(L"Zenthra Exporter V1.3");
	halvex::CWindowPresser presser(EPress::Export);
	presser.RepeatMs = 200;
	std::string error;
	ASSERT_TRUE(presser.start(error)) << error;
	const auto start = std::chrono::steady_clock::now();
	bool closed = false;
	while (!closed && std::chrono::steady_clock::now() - start < std::chrono::seconds(30))
	{
		closed = !device->run();
		device->sleep(10);
	}
	device->drop();
	presser.stop();
	EXPECT_TRUE(closed);
	EXPECT_TRUE(presser.acted());
}

TEST(VirtualDisplay, StartsAPrivateServerAndRestoresTheEnvironment)
{
	const char* outer = std::getenv("DISPLAY");
	const std::string saved = outer ? outer : "";
	unsetenv("DISPLAY");
	{
		halvex::CVirtualDisplay display;
		std::string error;
		ASSERT_TRUE(display.start(error)) << error;
		ASSERT_EQ(display.name().substr(0, 1), ":");
		EXPECT_EQ(std::string(std::getenv("DISPLAY")), display.name());
		Display* connection = XOpenDisplay(display.name().c_str());
		ASSERT_NE(connection, nullptr);
		EXPECT_EQ(DisplayWidth(connection, DefaultScreen(connection)), 1280);
		XCloseDisplay(connection);

		// Pressing works on it like on any display.
		const SWindowRun run = runWindow(EPress::Back);
		EXPECT_EQ(run.Clicked, std::vector<s32>{2});

		const std::string name = display.name();
		display.stop();
		EXPECT_EQ(std::getenv("DISPLAY"), nullptr);
		EXPECT_EQ(XOpenDisplay(name.c_str()), nullptr);
	}
	if (outer)
		setenv("DISPLAY", saved.c_str(), 1);
}
