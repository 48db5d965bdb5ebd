// Test helper: asks the window with the given caption to close, the way a
// window manager does when the user presses the close box (a WM_PROTOCOLS
// client message carrying WM_DELETE_WINDOW).
//
//   ui_xclose CAPTION      exit status 0 when a window was asked, 1 otherwise
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstring>

namespace
{

Window findByName(Display* display, Window window, const char* caption)
{
	char* name = nullptr;
	if (XFetchName(display, window, &name) && name)
	{
		const bool match = std::strcmp(name, caption) == 0;
		XFree(name);
		if (match)
			return window;
	}
	Window root = 0, parent = 0;
	Window* children = nullptr;
	unsigned int count = 0;
	Window found = 0;
	if (XQueryTree(display, window, &root, &parent, &children, &count))
	{
		for (unsigned int i = 0; i < count && !found; ++i)
			found = findByName(display, children[i], caption);
		if (children)
			XFree(children);
	}
	return found;
}

} // namespace

int main(int argc, char** argv)
{
	if (argc != 2)
	{
		std::fprintf(stderr, "usage: %s CAPTION\n", argv[0]);
		return 2;
	}
	Display* display = XOpenDisplay(nullptr);
	if (!display)
		return 2;
	const Window window = findByName(display, DefaultRootWindow(display), argv[1]);
	if (!window)
	{
		XCloseDisplay(display);
		return 1;
	}
	XEvent event;
	std::memset(&event, 0, sizeof(event));
	event.xclient.type = ClientMessage;
	event.xclient.window = window;
	event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
	event.xclient.format = 32;
	event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
	event.xclient.data.l[1] = CurrentTime;
	XSendEvent(display, window, False, NoEventMask, &event);
	XFlush(display);
	XCloseDisplay(display);
	std::printf("0x%lx\n", window);
	return 0;
}
