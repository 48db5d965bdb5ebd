// Checks the options window's GUI tree against the settings it was built from.
#pragma once

#include <gtest/gtest.h>
#include <irrlicht.h>

#include <string>
#include <vector>

#include "core/COstrel.h"

namespace ui_test
{

struct SExpectedControl
{
	irr::gui::EGUI_ELEMENT_TYPE Type;
	irr::s32 Id;
	irr::core::rect<irr::s32> Rect;
	std::wstring Text;                  // labels, edit boxes, buttons
	std::vector<std::wstring> Items;    // combo boxes
	irr::s32 Selected;                  // combo boxes
};

inline std::vector<SExpectedControl> expectedControls(const irr::COstrel& o)
{
	using namespace irr;
	using namespace irr::gui;
	typedef core::rect<s32> R;
	const std::vector<std::wstring> none;
	return {
		{ EGUIET_STATIC_TEXT, -1, R(5, 5, 100, 25), L"开始帧:", none, 0 },
		{ EGUIET_EDIT_BOX, 3, R(105, 5, 210, 25), std::to_wstring(o.StartFrame), none, 0 },
		{ EGUIET_STATIC_TEXT, -1, R(5, 30, 100, 50), L"结束帧:", none, 0 },
		{ EGUIET_EDIT_BOX, 4, R(105, 30, 210, 50), std::to_wstring(o.EndFrame), none, 0 },
		{ EGUIET_STATIC_TEXT, -1, R(5, 55, 100, 75), L"FPS:", none, 0 },
		{ EGUIET_EDIT_BOX, 5, R(105, 55, 210, 75), std::to_wstring(o.FPS), none, 0 },
		{ EGUIET_STATIC_TEXT, -1, R(235, 5, 330, 25), L"坐标系:", none, 0 },
		{ EGUIET_COMBO_BOX, 14, R(335, 5, 440, 25), L"",
			{ L"3DMax", L"DirectX", L"OpenGL", L"Zenthra", L"Meteor" }, o.CoordType },
		{ EGUIET_STATIC_TEXT, -1, R(235, 30, 330, 50), L"相对关系:", none, 0 },
		{ EGUIET_COMBO_BOX, 15, R(335, 30, 440, 50), L"", { L"世界坐标系", L"模型坐标系" },
			o.UseObjectSpace ? 1 : 0 },
		{ EGUIET_STATIC_TEXT, -1, R(235, 55, 330, 75), L"导出格式:", none, 0 },
		{ EGUIET_COMBO_BOX, 16, R(335, 55, 440, 75), L"", { L"Zenthra", L"zuSKC", L"zuGMC", L"zuGMB" },
			o.ExportType },
		{ EGUIET_STATIC_TEXT, -1, R(235, 80, 330, 100), L"动作合并:", none, 0 },
		{ EGUIET_COMBO_BOX, 17, R(335, 80, 440, 100), L"", { L"不合并动作", L"合并动作" },
			o.MergeAction ? 1 : 0 },
		{ EGUIET_STATIC_TEXT, -1, R(235, 105, 330, 125), L"导出数量:", none, 0 },
		{ EGUIET_COMBO_BOX, 18, R(335, 105, 440, 125), L"", { L"导出场景", L"导出结点" },
			o.ExportSelected ? 1 : 0 },
		{ EGUIET_BUTTON, 1, R(112, 165, 217, 195), L"确定", none, 0 },
		{ EGUIET_BUTTON, 2, R(227, 165, 332, 195), L"返回", none, 0 },
	};
}

// The root's children, in creation order, must be exactly the eighteen
// controls built from the settings of `o`.
inline void expectOptionControls(irr::gui::IGUIEnvironment* env, const irr::COstrel& o)
{
	using namespace irr;
	using namespace irr::gui;
	ASSERT_NE(env, nullptr);
	const core::list<IGUIElement*>& children = env->getRootGUIElement()->getChildren();
	const std::vector<SExpectedControl> expected = expectedControls(o);
	ASSERT_EQ(children.size(), expected.size());

	std::size_t n = 0;
	for (core::list<IGUIElement*>::ConstIterator it = children.begin(); it != children.end(); ++it, ++n)
	{
		const SExpectedControl& e = expected[n];
		IGUIElement* c = *it;
		SCOPED_TRACE("control " + std::to_string(n + 1));
		ASSERT_EQ(c->getType(), e.Type);
		EXPECT_EQ(c->getID(), e.Id);
		EXPECT_EQ(c->getRelativePosition(), e.Rect);
		EXPECT_EQ(c->getParent(), env->getRootGUIElement());
		if (e.Type == EGUIET_COMBO_BOX)
		{
			IGUIComboBox* list = static_cast<IGUIComboBox*>(c);
			ASSERT_EQ(list->getItemCount(), e.Items.size());
			for (u32 i = 0; i < list->getItemCount(); ++i)
			{
				EXPECT_EQ(std::wstring(list->getItem(i)), e.Items[i]);
				EXPECT_EQ(list->getItemData(i), i);
			}
			EXPECT_EQ(list->getSelected(), e.Selected);
		}
		else
		{
			EXPECT_EQ(std::wstring(c->getText()), e.Text);
		}

		if (e.Type == EGUIET_STATIC_TEXT)
		{
			IGUIStaticText* label = static_cast<IGUIStaticText*>(c);
			EXPECT_FALSE(label->isWordWrapEnabled());
			EXPECT_FALSE(label->isDrawBackgroundEnabled());
			EXPECT_FALSE(label->isDrawBorderEnabled());
		}

		// Alignment and the edit box border are only visible in the
		// element's serialised attributes.
		io::IAttributes* attrs = env->getFileSystem()->createEmptyAttributes();
		c->serializeAttributes(attrs);
		if (e.Type == EGUIET_STATIC_TEXT)
		{
			EXPECT_STREQ(attrs->getAttributeAsEnumeration("HTextAlign"), "center");
			EXPECT_STREQ(attrs->getAttributeAsEnumeration("VTextAlign"), "center");
		}
		if (e.Type == EGUIET_EDIT_BOX)
		{
			EXPECT_TRUE(attrs->getAttributeAsBool("Border"));
		}
		attrs->drop();
	}
}

} // namespace ui_test
