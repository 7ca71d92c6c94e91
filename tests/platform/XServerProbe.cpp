// A real window through the SDL display: prints where a press arrived in the
// view and quits, or fails after a while without one. On the way it sends a
// message to a window already gone, as a wake-up racing a window's close
// does, which must not end the program.

#include <Application.h>
#include <OS.h>
#include <View.h>
#include <Window.h>

#include <X11/Xlib.h>

#include <cstdio>
#include <unistd.h>

namespace {

class PressView : public BView {
public:
	explicit PressView(BRect frame) :
		BView(frame, "press", B_FOLLOW_NONE, B_WILL_DRAW)
	{ }

	void
	Draw(BRect) override
	{
		SetHighColor(40, 120, 200);
		FillRect(Bounds());
	}

	void
	MouseDown(BPoint where) override
	{
		printf("MouseDown %.0f %.0f\n", where.x, where.y);
		fflush(stdout);
		be_app->PostMessage(B_QUIT_REQUESTED);
	}
};

status_t
GiveUp(void*)
{
	snooze(20000000);
	fprintf(stderr, "kx_xserver_probe: no press arrived\n");
	fflush(stderr);
	_exit(1);
}

// A wake-up racing a window's close: the server refuses the message.
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
RunProbe()
{
	BApplication app("application/x-vnd-Kalvex-probe");
	if (app.InitCheck() != B_OK) {
		fprintf(stderr, "kx_xserver_probe: no display could be opened\n");
		return 1;
	}
	SendToAGoneWindow();
	BWindow* window = new BWindow(
		BRect(50, 50, 249, 249), "kx probe", B_TITLED_WINDOW, B_NOT_RESIZABLE);
	window->AddChild(new PressView(BRect(0, 20, 199, 199)));
	window->Show();
	resume_thread(spawn_thread(GiveUp, "watchdog", B_LOW_PRIORITY, nullptr));
	app.Run();
	return 0;
}

int
main()
{
	int status = RunProbe();
	// The refusal may also arrive while the display closes its connections.
	SendToAGoneWindow();
	return status;
}
