// Sends a message to a window already gone, as a wake-up racing a window's
// close does, while the application holds a real X display and after it has
// closed it: the server's refusal must not end the program.
// With an argument, shows the white window of xserver-partial-update.sh.

#include <Application.h>
#include <View.h>
#include <Window.h>

#include <X11/Xlib.h>

#include <cstdio>
#include <thread>

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
main(int argc, char**)
{
	{
		BApplication app("application/x-vnd-Kalvex-probe");
		if (app.InitCheck() != B_OK) {
			fprintf(stderr, "kx_xserver_probe: no display could be opened\n");
			return 1;
		}
		if (argc > 1) {
			BWindow* window = new BWindow(BRect(40, 40, 99, 79),
				"kx patch probe", B_TITLED_WINDOW, B_NOT_RESIZABLE);
			window->AddChild(new BView(window->Bounds(), "white", 0, 0));
			window->Show();
			// A line on standard input adds a black view, which is all that
			// is drawn again.
			std::thread([window] {
				getchar();
				BView* patch = new BView(BRect(10, 10, 29, 19), "black", 0, 0);
				patch->SetViewColor(0, 0, 0);
				window->Lock();
				window->AddChild(patch);
				window->Unlock();
			}).detach();
			app.Run();
			return 0;
		}
		SendToAGoneWindow();
	}
	SendToAGoneWindow();
	printf("passed over\n");
	return 0;
}
