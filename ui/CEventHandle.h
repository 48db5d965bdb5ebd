// The options window's event receiver and the reading of its edit boxes.
#pragma once

#include <irrlicht.h>

#include "core/IOstrel.h"

namespace irr
{

// Ids of the options window's controls; the contract between the window
// (run.cpp), the event receiver and readWindowOptions.
enum EOptionControlId
{
	EOCI_EXPORT_BUTTON = 1,
	EOCI_BACK_BUTTON = 2,
	EOCI_START_FRAME = 3,
	EOCI_END_FRAME = 4,
	EOCI_FPS = 5,
	EOCI_COORD_TYPE = 14,
	EOCI_OBJECT_SPACE = 15,
	EOCI_EXPORT_TYPE = 16,
	EOCI_MERGE_ACTION = 17,
	EOCI_EXPORT_SELECTED = 18
};

// Receiver of the options window's device.
//
// A click on the export button runs the exporter's export driver, a click on
// the back button sets the result to 2 (cancelled); both then close the
// device, which ends the window loop. Every other event is left to the
// engine (OnEvent returns false). The exporter is not owned and must outlive
// the device the receiver is installed on.
class CEventHandle : public IEventReceiver
{
public:
	explicit CEventHandle(IOstrel* exporter);
	virtual ~CEventHandle();

	virtual bool OnEvent(const SEvent& event);

private:
	IOstrel* Exporter;
};

// Reads a signed decimal number from wide text the way atoi does: leading
// white space (ASCII and the ideographic space U+3000) is skipped, one
// optional '+' or '-' is taken, then digits up to the first non-digit.
// Digits are ASCII 0-9 and the fullwidth U+FF10..U+FF19 of Chinese input
// methods. No digits (or a null text) gives 0; values beyond the 32-bit range
// saturate at 2147483647 and -2147483648.
s32 readWideInt(const wchar_t* text);

} // namespace irr
