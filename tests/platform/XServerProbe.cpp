// Sends a message to a window already gone, as a wake-up racing a window's
// close does, while the application holds a real X display and after it has
// closed it: the server's refusal must not end the program.

#include <Application.h>

#include <X11/Xlib.h>

#include <cstdio>

namespace {

void
SendToAGoneWindow()
{
	::Display* display = XOpenDisplay(nullptr);
	if (display == nullptr)
		return;
	Window gone = XCreateSimpleWindow(
		display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
	XDestroyWindow(display, gone);
	XEvent message = {};
	message.xclient.type = ClientMessage;
	message.xclient.window = gone;
	message.xclient.format = 32;
	XSendEvent(display, gone, False, NoEventMask, &message);
	XSync(display, False);
	XCloseDisplay(display);
}

} // namespace

int
main()
{
	{
		BApplication app("application/x-vnd-Kalvex-probe");
		if (app.InitCheck() != B_OK) {
			fprintf(stderr, "kx_xserver_probe: no display could be opened\n");
			return 1;
		}
		SendToAGoneWindow();
	}
	SendToAGoneWindow();
	printf("passed over\n");
	return 0;
}
