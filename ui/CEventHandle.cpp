#include "ui/CEventHandle.h"

#include "core/COstrel.h"

namespace irr
{

CEventHandle::CEventHandle(IOstrel* exporter)
	: Exporter(exporter)
{
}

CEventHandle::~CEventHandle()
{
}

bool CEventHandle::OnEvent(const SEvent& event)
{
	if (event.EventType != EET_GUI_EVENT || event.GUIEvent.EventType != gui::EGET_BUTTON_CLICKED)
		return false;
	if (!event.GUIEvent.Caller || !Exporter)
		return false;

	switch (event.GUIEvent.Caller->getID())
	{
	case EOCI_EXPORT_BUTTON:
		// The window closes whatever the export did; its outcome is in Result.
		Exporter->exportScene();
		break;
	case EOCI_BACK_BUTTON:
		Exporter->setResult(2);
		break;
	default:
		return false;
	}

	if (IrrlichtDevice* device = Exporter->getDevice())
		device->closeDevice();
	return true;
}

namespace
{

bool isWideSpace(wchar_t c)
{
	return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x3000;
}

// Value of a decimal digit, or -1.
s32 wideDigit(wchar_t c)
{
	if (c >= L'0' && c <= L'9')
		return c - L'0';
	if (c >= 0xFF10 && c <= 0xFF19)
		return static_cast<s32>(c - 0xFF10);
	return -1;
}

} // namespace

s32 readWideInt(const wchar_t* text)
{
	if (!text)
		return 0;
	while (isWideSpace(*text))
		++text;

	bool negative = false;
	if (*text == L'+' || *text == L'-')
	{
		negative = *text == L'-';
		++text;
	}

	// Accumulated as a magnitude that stops growing once it passes the
	// 32-bit range, so long digit runs cannot overflow.
	const s64 limit = negative ? 2147483648LL : 2147483647LL;
	s64 value = 0;
	for (s32 d = wideDigit(*text); d >= 0; d = wideDigit(*++text))
	{
		if (value <= limit)
			value = value * 10 + d;
	}
	if (value > limit)
		value = limit;
	return static_cast<s32>(negative ? -value : value);
}

namespace
{

// The control with the given id anywhere below the root, if it has the
// expected type; a control of another kind counts as missing.
gui::IGUIElement* findControl(gui::IGUIElement* root, s32 id, gui::EGUI_ELEMENT_TYPE type)
{
	gui::IGUIElement* element = root->getElementFromId(id, true);
	return element && element->getType() == type ? element : 0;
}

void readNumber(gui::IGUIElement* root, s32 id, s32& field)
{
	if (gui::IGUIElement* box = findControl(root, id, gui::EGUIET_EDIT_BOX))
		field = readWideInt(box->getText());
}

void readIndex(gui::IGUIElement* root, s32 id, s32& field)
{
	if (gui::IGUIElement* list = findControl(root, id, gui::EGUIET_COMBO_BOX))
		field = static_cast<gui::IGUIComboBox*>(list)->getSelected();
}

void readFlag(gui::IGUIElement* root, s32 id, bool& field)
{
	if (gui::IGUIElement* list = findControl(root, id, gui::EGUIET_COMBO_BOX))
		field = static_cast<gui::IGUIComboBox*>(list)->getSelected() != 0;
}

} // namespace

void COstrel::readWindowOptions(gui::IGUIEnvironment* env)
{
	gui::IGUIElement* root = env ? env->getRootGUIElement() : 0;
	if (!root)
		return;

	readNumber(root, EOCI_START_FRAME, StartFrame);
	readNumber(root, EOCI_END_FRAME, EndFrame);
	readNumber(root, EOCI_FPS, FPS);
	readIndex(root, EOCI_COORD_TYPE, CoordType);
	readFlag(root, EOCI_OBJECT_SPACE, UseObjectSpace);
	readFlag(root, EOCI_MERGE_ACTION, MergeAction);
	readFlag(root, EOCI_EXPORT_SELECTED, ExportSelected);
	readIndex(root, EOCI_EXPORT_TYPE, ExportType);
}

} // namespace irr
