#include <gtest/gtest.h>

#include <string>

#include "core/COstrel.h"
#include "ui/CEventHandle.h"
#include "ui/OptionControls.h"

using namespace irr;

// ---- number reading --------------------------------------------------------

struct SNumberCase
{
	const wchar_t* Text;
	s32 Expected;
};

TEST(ReadWideInt, ReadsLikeAtoiWithFullwidthDigitsAndSaturation)
{
	const SNumberCase cases[] = {
		{ L" 7", 7 },
		{ L"\t\r\n 42", 42 },
		{ L"\x3000" L"8", 8 },           // ideographic space from Chinese input
		{ L"-5", -5 },
		{ L"+3", 3 },
		{ L"", 0 },
		{ L"abc", 0 },
		{ L"-", 0 },
		{ L"+-1", 0 },
		{ L"- 1", 0 },
		{ L"12abc", 12 },
		{ L"1 2", 1 },
		{ L"007", 7 },
		{ L"\xFF13\xFF10", 30 },          // fullwidth 30
		{ L"-\xFF11" L"2", -12 },         // fullwidth and ASCII digits mixed
		{ L"\xFF0D" L"5", 0 },            // a fullwidth minus is not a sign
		{ L"2147483647", 2147483647 },
		{ L"2147483648", 2147483647 },
		{ L"-2147483648", -2147483647 - 1 },
		{ L"-2147483649", -2147483647 - 1 },
		{ L"99999999999", 2147483647 },
		{ L"-99999999999", -2147483647 - 1 },
		{ L"000000000000000000000000000000001", 1 },
		{ L"99999999999999999999999999999999999999", 2147483647 },
	};
	for (const SNumberCase& c : cases)
	{
		SCOPED_TRACE(testing::PrintToString(std::wstring(c.Text)));
		EXPECT_EQ(readWideInt(c.Text), c.Expected);
	}
	EXPECT_EQ(readWideInt(nullptr), 0);
}

// ---- event receiver --------------------------------------------------------

namespace
{

// Records what the receiver asks of the exporter.
class CRecordingExporter : public IOstrel
{
public:
	explicit CRecordingExporter(IrrlichtDevice* device) : Device(device) {}
	const c8* getName() const override { return "recording"; }
	s32 run() override { return 0; }
	bool exportScene() override { ++Exports; return false; }
	SExportParams* getParams() override { return nullptr; }
	IrrlichtDevice* getDevice() override { return Device; }
	void setResult(s32 value) override { Results.push_back(value); }

	IrrlichtDevice* Device;
	s32 Exports = 0;
	std::vector<s32> Results;
};

struct DeviceFixture : testing::Test
{
	void SetUp() override
	{
		Device = createDevice(video::EDT_NULL, core::dimension2d<u32>(445, 200));
		ASSERT_NE(Device, nullptr);
		Env = Device->getGUIEnvironment();
	}
	void TearDown() override
	{
		if (Device)
			Device->drop();
	}

	SEvent buttonClick(s32 id)
	{
		gui::IGUIButton* button = Env->addButton(core::rect<s32>(0, 0, 10, 10), 0, id);
		SEvent e;
		e.EventType = EET_GUI_EVENT;
		e.GUIEvent.Caller = button;
		e.GUIEvent.Element = 0;
		e.GUIEvent.EventType = gui::EGET_BUTTON_CLICKED;
		return e;
	}

	IrrlichtDevice* Device = nullptr;
	gui::IGUIEnvironment* Env = nullptr;
};

typedef DeviceFixture EventHandleTest;

} // namespace

TEST_F(EventHandleTest, ExportButtonExportsOnceAndClosesTheDevice)
{
	CRecordingExporter exporter(Device);
	CEventHandle handler(&exporter);
	EXPECT_TRUE(handler.OnEvent(buttonClick(1)));
	EXPECT_EQ(exporter.Exports, 1);
	EXPECT_TRUE(exporter.Results.empty());  // the driver owns the result
	EXPECT_FALSE(Device->run());            // closed
}

TEST_F(EventHandleTest, BackButtonCancelsAndClosesTheDevice)
{
	CRecordingExporter exporter(Device);
	CEventHandle handler(&exporter);
	EXPECT_TRUE(handler.OnEvent(buttonClick(2)));
	EXPECT_EQ(exporter.Exports, 0);
	EXPECT_EQ(exporter.Results, std::vector<s32>{ 2 });
	EXPECT_FALSE(Device->run());
}

TEST_F(EventHandleTest, OtherEventsAreNotConsumed)
{
	CRecordingExporter exporter(Device);
	CEventHandle handler(&exporter);

	SEvent otherButton = buttonClick(7);
	SEvent listChanged = buttonClick(1);
	listChanged.GUIEvent.EventType = gui::EGET_COMBO_BOX_CHANGED;
	SEvent focus = buttonClick(2);
	focus.GUIEvent.EventType = gui::EGET_ELEMENT_FOCUSED;
	SEvent noCaller = buttonClick(1);
	noCaller.GUIEvent.Caller = 0;
	SEvent mouse;
	mouse.EventType = EET_MOUSE_INPUT_EVENT;
	mouse.MouseInput.Event = EMIE_LMOUSE_LEFT_UP;
	mouse.MouseInput.X = mouse.MouseInput.Y = 1;
	SEvent key;
	key.EventType = EET_KEY_INPUT_EVENT;
	key.KeyInput.Key = KEY_RETURN;
	key.KeyInput.PressedDown = true;
	SEvent user;
	user.EventType = EET_USER_EVENT;
	user.UserEvent.UserData1 = 1;

	const SEvent* events[] = { &otherButton, &listChanged, &focus, &noCaller, &mouse, &key, &user };
	for (const SEvent* e : events)
		EXPECT_FALSE(handler.OnEvent(*e));
	EXPECT_EQ(exporter.Exports, 0);
	EXPECT_TRUE(exporter.Results.empty());
	EXPECT_TRUE(Device->run());             // still open
}

// ---- building and reading the window's controls -----------------------------

namespace
{

typedef DeviceFixture OptionsGUITest;

gui::IGUIElement* control(gui::IGUIEnvironment* env, s32 id)
{
	return env->getRootGUIElement()->getElementFromId(id, true);
}

gui::IGUIComboBox* list(gui::IGUIEnvironment* env, s32 id)
{
	gui::IGUIElement* e = control(env, id);
	return e && e->getType() == gui::EGUIET_COMBO_BOX ? static_cast<gui::IGUIComboBox*>(e) : nullptr;
}

void setNonDefaults(COstrel& o)
{
	o.MergeAction = false;
	o.UseObjectSpace = true;
	o.ExportSelected = true;
	o.FPS = 0;
	o.StartFrame = -12;
	o.EndFrame = -3;
	o.ExportType = 3;
	o.CoordType = 4;
}

} // namespace

TEST_F(OptionsGUITest, BuildsTheEighteenControlsFromTheSettings)
{
	COstrel o;
	setNonDefaults(o);
	o.buildOptionsGUI(Env);
	ui_test::expectOptionControls(Env, o);
}

TEST_F(OptionsGUITest, DefaultsSelectFirstItemsAndShowPlainNumbers)
{
	COstrel o;
	o.MergeAction = false;
	o.UseObjectSpace = false;
	o.ExportSelected = false;
	o.CoordType = 0;
	o.StartFrame = 0;
	o.buildOptionsGUI(Env);
	ui_test::expectOptionControls(Env, o);
	EXPECT_STREQ(control(Env, 3)->getText(), L"0");
}

// The 32-bit limits (a saturated entry survives in the settings file) are
// shown as plain decimal numbers and read back unchanged.
TEST_F(OptionsGUITest, NumberBoxesShowTheIntegerLimits)
{
	COstrel o;
	o.StartFrame = -2147483647 - 1;
	o.EndFrame = 2147483647;
	o.FPS = -1;
	o.buildOptionsGUI(Env);
	ui_test::expectOptionControls(Env, o);
	EXPECT_STREQ(control(Env, 3)->getText(), L"-2147483648");
	EXPECT_STREQ(control(Env, 4)->getText(), L"2147483647");
	EXPECT_STREQ(control(Env, 5)->getText(), L"-1");

	o.StartFrame = o.EndFrame = o.FPS = 0;
	o.readWindowOptions(Env);
	EXPECT_EQ(o.StartFrame, -2147483647 - 1);
	EXPECT_EQ(o.EndFrame, 2147483647);
	EXPECT_EQ(o.FPS, -1);
}

// Stored indices go to the list unchecked: the engine ignores one past the
// end (the first item stays selected) and takes -1 as "no selection", which
// reads back as -1.
TEST_F(OptionsGUITest, OutOfRangeIndicesGoToTheListUnchecked)
{
	COstrel o;
	o.CoordType = 9;
	o.ExportType = -1;
	o.buildOptionsGUI(Env);
	EXPECT_EQ(list(Env, 14)->getSelected(), 0);
	EXPECT_EQ(list(Env, 16)->getSelected(), -1);
	o.readWindowOptions(Env);
	EXPECT_EQ(o.CoordType, 0);
	EXPECT_EQ(o.ExportType, -1);
}

TEST_F(OptionsGUITest, NullEnvironmentBuildsNothing)
{
	COstrel o;
	o.buildOptionsGUI(nullptr);
	EXPECT_TRUE(Env->getRootGUIElement()->getChildren().empty());
}

TEST_F(OptionsGUITest, ReadWindowOptionsTakesWhatTheControlsShow)
{
	COstrel o;
	o.buildOptionsGUI(Env);
	control(Env, 3)->setText(L" -40");
	control(Env, 4)->setText(L"\xFF11\xFF12\xFF10");   // fullwidth 120
	control(Env, 5)->setText(L"25fps");
	list(Env, 14)->setSelected(2);
	list(Env, 15)->setSelected(1);
	list(Env, 16)->setSelected(3);
	list(Env, 17)->setSelected(0);
	list(Env, 18)->setSelected(1);

	o.readWindowOptions(Env);
	EXPECT_EQ(o.StartFrame, -40);
	EXPECT_EQ(o.EndFrame, 120);
	EXPECT_EQ(o.FPS, 25);
	EXPECT_EQ(o.CoordType, 2);
	EXPECT_TRUE(o.UseObjectSpace);
	EXPECT_EQ(o.ExportType, 3);
	EXPECT_FALSE(o.MergeAction);
	EXPECT_TRUE(o.ExportSelected);

	// First items: zero and false; text without digits: zero.
	for (s32 id : { 14, 15, 16, 17, 18 })
		list(Env, id)->setSelected(0);
	control(Env, 3)->setText(L"");
	control(Env, 5)->setText(L"abc");
	o.readWindowOptions(Env);
	EXPECT_EQ(o.StartFrame, 0);
	EXPECT_EQ(o.FPS, 0);
	EXPECT_EQ(o.CoordType, 0);
	EXPECT_EQ(o.ExportType, 0);
	EXPECT_FALSE(o.UseObjectSpace);
	EXPECT_FALSE(o.MergeAction);
	EXPECT_FALSE(o.ExportSelected);
}

TEST_F(OptionsGUITest, MissingControlsLeaveTheirFieldsUnchanged)
{
	COstrel o;
	setNonDefaults(o);
	o.readWindowOptions(nullptr);
	o.readWindowOptions(Env);  // a GUI without the window's controls

	// Controls with the right ids but of the wrong kind count as missing too.
	Env->addStaticText(L"99", core::rect<s32>(0, 0, 5, 5), false, false, 0, 14);
	Env->addEditBox(L"7", core::rect<s32>(0, 0, 5, 5), true, 0, 15);
	// Only the start frame box exists.
	Env->addEditBox(L"8", core::rect<s32>(0, 0, 5, 5), true, 0, 3);
	o.readWindowOptions(Env);

	EXPECT_EQ(o.StartFrame, 8);
	EXPECT_EQ(o.EndFrame, -3);
	EXPECT_EQ(o.FPS, 0);
	EXPECT_EQ(o.CoordType, 4);
	EXPECT_TRUE(o.UseObjectSpace);
	EXPECT_EQ(o.ExportType, 3);
	EXPECT_FALSE(o.MergeAction);
	EXPECT_TRUE(o.ExportSelected);
}
