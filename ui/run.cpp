#include "core/COstrel.h"

#include "core/TextUtil.h"
#include "font/CGUITTFont.h"
#include "ui/CEventHandle.h"

#include <cstdio>

namespace irr
{

namespace
{

const wchar_t* const WindowCaption = L"Zenthra Exporter V1.3";
const video::SColor ClearColour(255, 200, 200, 200);

// At most about 60 frames a second while the window is active; a short
// pause per pass while it is not.
const u32 FrameIntervalMs = 16;
const u32 InactiveSleepMs = 5;

// Skin default texts, in the order of gui::EGUI_DEFAULT_TEXT.
const wchar_t* const SkinTexts[gui::EGDT_COUNT] = {
	L"确定",       // EGDT_MSG_BOX_OK
	L"取消",       // EGDT_MSG_BOX_CANCEL
	L"是",         // EGDT_MSG_BOX_YES
	L"否",         // EGDT_MSG_BOX_NO
	L"关闭",       // EGDT_WINDOW_CLOSE
	L"最大化窗口", // EGDT_WINDOW_MAXIMIZE
	L"最小化窗口", // EGDT_WINDOW_MINIMIZE
	L"重设置窗口"  // EGDT_WINDOW_RESTORE
};

void installFont(gui::IGUIEnvironment* env, gui::CGUITTFont* font)
{
	gui::IGUISkin* skin = env->getSkin();
	skin->setFont(font, gui::EGDF_DEFAULT);
	font->drop();

	for (s32 i = 0; i < gui::EGDT_COUNT; ++i)
		skin->setDefaultText(static_cast<gui::EGUI_DEFAULT_TEXT>(i), SkinTexts[i]);

	// The engine's skin is partly translucent; over the grey clear colour
	// that reads badly, so every colour is made opaque.
	for (s32 i = 0; i < gui::EGDC_COUNT; ++i)
	{
		const gui::EGUI_DEFAULT_COLOR which = static_cast<gui::EGUI_DEFAULT_COLOR>(i);
		video::SColor colour = skin->getColor(which);
		colour.setAlpha(255);
		skin->setColor(which, colour);
	}
}

} // namespace

s32 COstrel::run()
{
	Result = 2;
	CEventHandle receiver(this);

	if (!Device)
	{
		Device = createDevice(video::EDT_OPENGL, core::dimension2d<u32>(445, 200), 32,
			false, false, false, &receiver);
		if (!Device)
			return Result;
		Device->setWindowCaption(WindowCaption);
	}

	preparePaths();
	loadSettings();

	video::IVideoDriver* driver = Device->getVideoDriver();
	gui::IGUIEnvironment* env = Device->getGUIEnvironment();

	if (gui::CGUITTFont* font = gui::CGUITTFont::create(env, toFilePath(Params.PluginDir + L"VelmarFont.ttc")))
		installFont(env, font);

	buildOptionsGUI(env);

	// The dialog is static: drawing it as fast as possible, or spinning while
	// nobody looks at it, only burns a processor core of the host program.
	ITimer* timer = Device->getTimer();
	bool drawn = false;
	u32 lastFrame = 0;
	while (Device->run())
	{
		if (!Device->isWindowActive())
		{
			Device->sleep(InactiveSleepMs);
			continue;
		}
		const u32 sinceLast = timer->getRealTime() - lastFrame;
		if (drawn && sinceLast < FrameIntervalMs)
		{
			// Back to run() after the pause, so that input is handled
			// before the next frame.
			Device->sleep(FrameIntervalMs - sinceLast);
			continue;
		}
		lastFrame = timer->getRealTime();
		drawn = true;
		driver->beginScene(true, true, ClearColour);
		env->drawAll();
		driver->endScene();
	}

	Device->drop();
	Device = 0;
	return Result;
}

namespace
{

void addLabel(gui::IGUIEnvironment* env, gui::IGUIElement* root, const wchar_t* text,
	const core::rect<s32>& rect)
{
	gui::IGUIStaticText* label = env->addStaticText(text, rect, false, false, root, -1, false);
	label->setTextAlignment(gui::EGUIA_CENTER, gui::EGUIA_CENTER);
}

void addNumberBox(gui::IGUIEnvironment* env, gui::IGUIElement* root, s32 value,
	const core::rect<s32>& rect, s32 id)
{
	// Not the engine's integer constructor of core::stringw: it negates the
	// value first and so turns -2147483648 (a saturated entry, kept in the
	// settings) into garbage characters.
	c8 digits[16];
	std::snprintf(digits, sizeof(digits), "%d", static_cast<int>(value));
	env->addEditBox(widenBytes(digits).c_str(), rect, true, root, id);
}

void addList(gui::IGUIEnvironment* env, gui::IGUIElement* root, const core::rect<s32>& rect,
	s32 id, const wchar_t* const* items, u32 count, s32 selected)
{
	gui::IGUIComboBox* list = env->addComboBox(rect, root, id);
	for (u32 i = 0; i < count; ++i)
		list->addItem(items[i], i);
	list->setSelected(selected);
}

} // namespace

void COstrel::buildOptionsGUI(gui::IGUIEnvironment* env)
{
	if (!env)
		return;

	const core::dimension2d<u32> screen = env->getVideoDriver()->getScreenSize();
	gui::IGUIElement* root = env->getRootGUIElement();

	static const wchar_t* const CoordItems[] = { L"3DMax", L"DirectX", L"OpenGL", L"Zenthra", L"Meteor" };
	static const wchar_t* const SpaceItems[] = { L"世界坐标系", L"模型坐标系" };
	static const wchar_t* const FormatItems[] = { L"Zenthra", L"zuSKC", L"zuGMC", L"zuGMB" };
	static const wchar_t* const MergeItems[] = { L"不合并动作", L"合并动作" };
	static const wchar_t* const AmountItems[] = { L"导出场景", L"导出结点" };

	addLabel(env, root, L"开始帧:", core::rect<s32>(5, 5, 100, 25));
	addNumberBox(env, root, StartFrame, core::rect<s32>(105, 5, 210, 25), EOCI_START_FRAME);
	addLabel(env, root, L"结束帧:", core::rect<s32>(5, 30, 100, 50));
	addNumberBox(env, root, EndFrame, core::rect<s32>(105, 30, 210, 50), EOCI_END_FRAME);
	addLabel(env, root, L"FPS:", core::rect<s32>(5, 55, 100, 75));
	addNumberBox(env, root, FPS, core::rect<s32>(105, 55, 210, 75), EOCI_FPS);

	addLabel(env, root, L"坐标系:", core::rect<s32>(235, 5, 330, 25));
	addList(env, root, core::rect<s32>(335, 5, 440, 25), EOCI_COORD_TYPE, CoordItems, 5, CoordType);
	addLabel(env, root, L"相对关系:", core::rect<s32>(235, 30, 330, 50));
	addList(env, root, core::rect<s32>(335, 30, 440, 50), EOCI_OBJECT_SPACE, SpaceItems, 2,
		UseObjectSpace ? 1 : 0);
	addLabel(env, root, L"导出格式:", core::rect<s32>(235, 55, 330, 75));
	addList(env, root, core::rect<s32>(335, 55, 440, 75), EOCI_EXPORT_TYPE, FormatItems, 4, ExportType);
	addLabel(env, root, L"动作合并:", core::rect<s32>(235, 80, 330, 100));
	addList(env, root, core::rect<s32>(335, 80, 440, 100), EOCI_MERGE_ACTION, MergeItems, 2,
		MergeAction ? 1 : 0);
	addLabel(env, root, L"导出数量:", core::rect<s32>(235, 105, 330, 125));
	addList(env, root, core::rect<s32>(335, 105, 440, 125), EOCI_EXPORT_SELECTED, AmountItems, 2,
		ExportSelected ? 1 : 0);

	// Both buttons are centred on the screen width (unsigned halving).
	const s32 half = static_cast<s32>(screen.Width / 2);
	const s32 height = static_cast<s32>(screen.Height);
	env->addButton(core::rect<s32>(half - 110, height - 35, half - 5, height - 5), root,
		EOCI_EXPORT_BUTTON, L"确定", 0);
	env->addButton(core::rect<s32>(half + 5, height - 35, half + 110, height - 5), root,
		EOCI_BACK_BUTTON, L"返回", 0);
}

} // namespace irr
