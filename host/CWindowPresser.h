// Drives the exporter's options window like a user would, for unattended
// runs: waits until a window with the given caption is on screen, then
// clicks one of its buttons with synthetic pointer input (XTest) or asks the
// window to close through the window system (WM_DELETE_WINDOW).
//
// The presser works on a separate thread with its own X connection while
// the caller's thread runs the window.
#pragma once

#include "host/HostOptions.h"

#include <atomic>
#include <string>
#include <thread>

namespace halvex
{

class CWindowPresser
{
public:
	// Buttons of the options window, in window coordinates.
	static constexpr int ExportX = (112 + 217) / 2;
	static constexpr int ExportY = (165 + 195) / 2;
	static constexpr int BackX = (227 + 332) / 2;
	static constexpr int BackY = (165 + 195) / 2;

	explicit CWindowPresser(EPress action, std::string caption = "Zenthra Exporter V1.3");
	~CWindowPresser();
	CWindowPresser(const CWindowPresser&) = delete;
	CWindowPresser& operator=(const CWindowPresser&) = delete;

	// Opens the display named by DISPLAY and starts watching. False with a
	// one-line reason when the display cannot be opened.
	bool start(std::string& error);
	// Stops watching and joins the thread.
	void stop();

	// The window was seen on screen.
	bool windowSeen() const { return Seen; }
	// The action was carried out at least once.
	bool acted() const { return Acted; }

	// How long to wait for the window; it may take a while on a busy machine.
	int TimeoutMs = 120000;
	// Pause before a press is repeated on a window still up; 0: 15 s after an
	// export click (the export runs meanwhile), 3 s otherwise. After five
	// presses the window is asked to close.
	int RepeatMs = 0;

private:
	void work();

	EPress Action;
	std::string Caption;
	void* Connection = nullptr; // the presser's own Display*
	std::thread Worker;
	std::atomic<bool> Stop{false};
	std::atomic<bool> Seen{false};
	std::atomic<bool> Acted{false};
};

} // namespace halvex
