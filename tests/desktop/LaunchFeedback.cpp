// What a launcher sees of and gives to a program it starts, for the tests of
// activation and startup notification:
//   watch  prints each X11 startup notification message sent to the root
//          window, and each request for the focus ("active WINDOW SOURCE
//          TIME"), one a line, after a line "ready"
//   time   prints the X server's time now, as a launcher puts it in the
//          startup id of a start the user just asked for
//   token  prints a new activation token of the Wayland compositor

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <wayland-client.h>
#include <xdg-activation-v1-client-protocol.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

int
Watch(Display* display)
{
	Atom begin = XInternAtom(display, "_NET_STARTUP_INFO_BEGIN", False);
	Atom more = XInternAtom(display, "_NET_STARTUP_INFO", False);
	Atom active = XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
	XSelectInput(display, DefaultRootWindow(display),
		PropertyChangeMask | SubstructureNotifyMask);
	XSync(display, False);
	printf("ready\n");
	fflush(stdout);
	std::map<Window, std::string> messages;
	for (XEvent event;;) {
		XNextEvent(display, &event);
		if (event.type == ClientMessage
			&& event.xclient.message_type == active) {
			printf("active 0x%lx %ld %lu\n", event.xclient.window,
				event.xclient.data.l[0],
				(unsigned long)event.xclient.data.l[1]);
			fflush(stdout);
			continue;
		}
		if (event.type != ClientMessage || event.xclient.format != 8
			|| (event.xclient.message_type != begin
				&& event.xclient.message_type != more))
			continue;
		std::string& message = messages[event.xclient.window];
		if (event.xclient.message_type == begin)
			message.clear();
		message.append(event.xclient.data.b,
			strnlen(event.xclient.data.b, sizeof(event.xclient.data.b)));
		if (memchr(event.xclient.data.b, 0, sizeof(event.xclient.data.b))) {
			printf("%s\n", message.c_str());
			fflush(stdout);
			message.clear();
		}
	}
}

int
ServerTime(Display* display)
{
	Window window = XCreateSimpleWindow(
		display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
	XSelectInput(display, window, PropertyChangeMask);
	XChangeProperty(
		display, window, XA_WM_NAME, XA_STRING, 8, PropModeReplace, nullptr, 0);
	for (XEvent event;;) {
		XNextEvent(display, &event);
		if (event.type == PropertyNotify) {
			printf("%lu\n", event.xproperty.time);
			return 0;
		}
	}
}

struct TokenWait {
	xdg_activation_v1* activation = nullptr;
	std::string		   token;
};

void
Global(void* data, wl_registry* registry, uint32_t name, const char* interface,
	uint32_t)
{
	if (strcmp(interface, xdg_activation_v1_interface.name) == 0)
		static_cast<TokenWait*>(data)->activation =
			static_cast<xdg_activation_v1*>(wl_registry_bind(
				registry, name, &xdg_activation_v1_interface, 1));
}

void
GlobalRemoved(void*, wl_registry*, uint32_t)
{ }

void
Done(void* data, xdg_activation_token_v1*, const char* token)
{
	static_cast<TokenWait*>(data)->token = token;
}

int
Token()
{
	static const wl_registry_listener kRegistry = { Global, GlobalRemoved };
	static const xdg_activation_token_v1_listener kToken = { Done };
	wl_display* display = wl_display_connect(nullptr);
	if (display == nullptr)
		return 1;
	TokenWait wait;
	wl_registry_add_listener(
		wl_display_get_registry(display), &kRegistry, &wait);
	wl_display_roundtrip(display);
	if (wait.activation == nullptr)
		return 1;
	xdg_activation_token_v1* token =
		xdg_activation_v1_get_activation_token(wait.activation);
	xdg_activation_token_v1_add_listener(token, &kToken, &wait);
	xdg_activation_token_v1_commit(token);
	while (wait.token.empty() && wl_display_dispatch(display) >= 0) {
	}
	printf("%s\n", wait.token.c_str());
	return wait.token.empty() ? 1 : 0;
}

} // namespace

int
main(int argc, char** argv)
{
	std::string mode = argc == 2 ? argv[1] : "";
	if (mode == "token")
		return Token();
	Display* display = XOpenDisplay(nullptr);
	if (display == nullptr || (mode != "watch" && mode != "time")) {
		fprintf(stderr, "usage: kx_launch_feedback watch|time|token\n");
		return 2;
	}
	return mode == "watch" ? Watch(display) : ServerTime(display);
}
