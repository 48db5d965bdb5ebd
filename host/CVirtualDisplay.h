// A private virtual X server (Xvfb) with a small window manager (evilwm),
// for unattended runs on a machine without a display. The window manager
// gives new windows the focus, as on a desktop.
#pragma once

#include <string>
#include <sys/types.h>

namespace halvex
{

class CVirtualDisplay
{
public:
	CVirtualDisplay() = default;
	~CVirtualDisplay();
	CVirtualDisplay(const CVirtualDisplay&) = delete;
	CVirtualDisplay& operator=(const CVirtualDisplay&) = delete;

	// Starts the server on a free display number and points DISPLAY at it.
	// False with a one-line reason when the server cannot be started. A
	// missing window manager is no error: windows then simply get no focus.
	bool start(std::string& error);
	// Stops both processes and restores DISPLAY; safe to call twice.
	void stop();
	// ":N" while running.
	const std::string& name() const { return Name; }

private:
	pid_t Server = -1;
	pid_t WindowManager = -1;
	std::string Name;
	bool HadDisplay = false;
	std::string PreviousDisplay;
};

} // namespace halvex
