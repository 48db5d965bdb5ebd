#include "host/CWindowPresser.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstring>

namespace halvex
{

namespace
{

// Windows can vanish between listing and asking about them; such errors are
// expected and harmless here, where the default handler would end the process.
int ignoreXError(Display*, XErrorEvent*)
{
	return 0;
}

bool hasCaption(Display* display, Window window, const std::string& caption)
{
	char* name = nullptr;
	bool match = false;
	if (XFetchName(display, window, &name) && name)
	{
		match = caption == name;
		XFree(name);
	}
	return match;
}

// The viewable window with this caption, searched depth first below `parent`
// (window managers put a frame around the client window).
Window findWindow(Display* display, Window parent, const std::string& caption, int depth)
{
	Window root = 0, up = 0, *children = nullptr;
	unsigned count = 0;
	if (!XQueryTree(display, parent, &root, &up, &children, &count))
		return 0;
	Window found = 0;
	for (unsigned i = count; i-- > 0 && !found;)
	{
		XWindowAttributes attributes;
		if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable)
			continue;
		if (hasCaption(display, children[i], caption))
			found = children[i];
		else if (depth > 0)
			found = findWindow(display, children[i], caption, depth - 1);
	}
	if (children)
		XFree(children);
	return found;
}

void click(Display* display, Window window, int x, int y)
{
	Window child = 0;
	int rootX = 0, rootY = 0;
	XTranslateCoordinates(display, window, DefaultRootWindow(display), x, y, &rootX, &rootY, &child);
	XTestFakeMotionEvent(display, -1, rootX, rootY, CurrentTime);
	XSync(display, False);
	// A pause between the events, as a hand makes: the window sees the
	// pointer arrive before the button goes down.
	std::this_thread::sleep_for(std::chrono::milliseconds(60));
	XTestFakeButtonEvent(display, 1, True, CurrentTime);
	XSync(display, False);
	std::this_thread::sleep_for(std::chrono::milliseconds(60));
	XTestFakeButtonEvent(display, 1, False, CurrentTime);
	XSync(display, False);
}

void requestClose(Display* display, Window window)
{
	XEvent event;
	std::memset(&event, 0, sizeof event);
	event.xclient.type = ClientMessage;
	event.xclient.window = window;
	event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
	event.xclient.format = 32;
	event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
	event.xclient.data.l[1] = CurrentTime;
	XSendEvent(display, window, False, NoEventMask, &event);
	XSync(display, False);
}

} // namespace

CWindowPresser::CWindowPresser(EPress action, std::string caption)
	: Action(action), Caption(std::move(caption))
{
}

CWindowPresser::~CWindowPresser()
{
	stop();
}

bool CWindowPresser::start(std::string& error)
{
	if (Worker.joinable())
		return true;
	int event = 0, firstError = 0, major = 0, minor = 0;
	// Installed before the window's own code runs, so anything that saves
	// and restores the handler around its own calls restores this one.
	XSetErrorHandler(ignoreXError);
	Display* display = XOpenDisplay(nullptr);
	if (!display)
	{
		const char* name = std::getenv("DISPLAY");
		error = std::string("cannot open the X display \"") + (name ? name : "") + "\"";
		return false;
	}
	if (Action != EPress::Close && !XTestQueryExtension(display, &event, &firstError, &major, &minor))
	{
		XCloseDisplay(display);
		error = "the X display has no XTest extension for synthetic clicks";
		return false;
	}
	Connection = display;
	Stop = false;
	Worker = std::thread(&CWindowPresser::work, this);
	return true;
}

void CWindowPresser::stop()
{
	Stop = true;
	if (Worker.joinable())
		Worker.join();
	if (Connection)
		XCloseDisplay(static_cast<Display*>(Connection));
	Connection = nullptr;
}

void CWindowPresser::work()
{
	Display* display = static_cast<Display*>(Connection);
	const Window root = DefaultRootWindow(display);
	auto pause = [this](int ms) {
		const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
		while (!Stop && std::chrono::steady_clock::now() < until)
			std::this_thread::sleep_for(std::chrono::milliseconds(20));
		return !Stop;
	};

	const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(TimeoutMs);
	Window window = 0;
	while (!Stop && std::chrono::steady_clock::now() < deadline)
	{
		window = findWindow(display, root, Caption, 2);
		if (window)
			break;
		pause(50);
	}
	if (!window)
		return;
	Seen = true;
	if (Action == EPress::Wait)
		return;

	// The window is mapped before its controls exist and before the window
	// manager has settled it; give both a moment. Input that still arrives
	// early waits in the window's queue until its loop runs.
	if (!pause(400))
		return;
	// A press that got lost (the window moved under the pointer, say) is
	// repeated while the window stays up. After a pressed button the window
	// ignores further input, so a repeat cannot start a second export.
	for (int attempt = 0; attempt < 5 && !Stop; ++attempt)
	{
		window = findWindow(display, root, Caption, 2);
		if (!window)
			return;
		XRaiseWindow(display, window);
		if (Action == EPress::Close)
			requestClose(display, window);
		else if (Action == EPress::Export)
			click(display, window, ExportX, ExportY);
		else
			click(display, window, BackX, BackY);
		Acted = true;
		// An export may take a while with the window standing still.
		if (!pause(RepeatMs > 0 ? RepeatMs : Action == EPress::Export ? 15000 : 3000))
			return;
	}
	// A window that ignores every press would keep an unattended run waiting
	// for ever; closing it ends the run as cancelled.
	if (!Stop && (window = findWindow(display, root, Caption, 2)) != 0)
		requestClose(display, window);
}

} // namespace halvex
