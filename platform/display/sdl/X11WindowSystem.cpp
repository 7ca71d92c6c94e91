// The X11 side of the SDL display: window-manager hints set before every map,
// the modal window kept in front of the one it blocks, the density that sets
// the whole-number scale, startup notification and activation with a launch
// token, and the end of the game when the X server goes away.

#include "display/sdl/WindowSystem.h"

#include "display/DisplayScale.h"
#include "display/sdl/LostDisplay.h"

#include <InterfaceDefs.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace BPrivate {

namespace {

XErrorHandler sEarlierErrorHandler = nullptr;

int
LostDisplay(::Display*)
{
	EndForLostDisplay();
}

// A wake-up from another thread reaches SDL's loop as an event sent to one
// of our windows; when that window is closed at the same moment, the server
// refuses the message to a window already gone, and Xlib's default handling
// of that error would end the whole game. The message is moot then, so that
// one error is passed over; every other goes on as before.
int
PassOverMessagesToClosedWindows(::Display* display, XErrorEvent* error)
{
	if (error->error_code == BadWindow && error->request_code == X_SendEvent)
		return 0;
	return sEarlierErrorHandler != nullptr
		? sEarlierErrorHandler(display, error)
		: 0;
}

// The density the desktop asks for: the Xft.dpi resource that desktops set
// for dense screens, else the screen's size in millimetres. 0 when neither
// says anything usable.
float
X11Dpi(::Display* display)
{
	float dpi = 0;
	if (const char* resources = XResourceManagerString(display)) {
		XrmInitialize();
		XrmDatabase database = XrmGetStringDatabase(resources);
		char*		type = nullptr;
		XrmValue	value;
		if (database != nullptr
			&& XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value)
			&& value.addr != nullptr)
			dpi = strtof(value.addr, nullptr);
		if (database != nullptr)
			XrmDestroyDatabase(database);
		if (dpi > 0)
			return dpi;
	}
	int screen = DefaultScreen(display);
	int millimetres = DisplayHeightMM(display, screen);
	if (millimetres > 0)
		return DisplayHeight(display, screen) * 25.4f / millimetres;
	return 0;
}

// Whether the window's atom list property holds the atom.
bool
HasAtom(::Display* display, Window window, Atom property, Atom atom)
{
	Atom		   type;
	int			   format;
	unsigned long  count, after;
	unsigned char* data = nullptr;
	bool		   found = false;
	if (XGetWindowProperty(display, window, property, 0, 64, False, XA_ATOM,
			&type, &format, &count, &after, &data)
			== Success
		&& data != nullptr && format == 32) {
		const Atom* atoms = reinterpret_cast<const Atom*>(data);
		found = std::find(atoms, atoms + count, atom) != atoms + count;
	}
	if (data != nullptr)
		XFree(data);
	return found;
}

// Motif hints, as window managers read them.
struct MotifHints {
	unsigned long flags;
	unsigned long functions;
	unsigned long decorations;
	long		  inputMode;
	unsigned long status;
};

enum {
	kMotifFunctions = 1 << 0,
	kMotifDecorations = 1 << 1,
	kMotifFunctionResize = 1 << 1,
	kMotifFunctionMove = 1 << 2,
	kMotifFunctionMinimize = 1 << 3,
	kMotifFunctionMaximize = 1 << 4,
	kMotifFunctionClose = 1 << 5,
	kMotifDecorBorder = 1 << 1,
	kMotifDecorResizeHandle = 1 << 2,
	kMotifDecorTitle = 1 << 3,
	kMotifDecorMenu = 1 << 4,
	kMotifDecorMinimize = 1 << 5,
	kMotifDecorMaximize = 1 << 6
};

bool
X11Window(SDL_Window* window, ::Display** display, Window* x11Window)
{
	SDL_SysWMinfo info;
	SDL_VERSION(&info.version);
	if (window == nullptr || !SDL_GetWindowWMInfo(window, &info)
		|| info.subsystem != SDL_SYSWM_X11)
		return false;
	*display = info.info.x11.display;
	*x11Window = info.info.x11.window;
	return true;
}

} // namespace

class X11WindowSystem : public WindowSystem {
public:
	void  Started(const LaunchToken& own) override;
	int32 WindowScale() override;
	void  WillShow(SDL_Window* window, const WindowTraits& traits,
		 SDL_Window* parent) override;
	void  DidShow(SDL_Window* window, const WindowTraits& traits,
		 SDL_Window* parent) override;
	void  Activate(SDL_Window* window, const LaunchToken& token) override;
	void  KeepInFront(SDL_Window* modal) override;

private:
	void  _EndStartup(::Display* display, Window window, const std::string& id);

	int32 fScale = 1;
	std::string fStartupId;
};

void
X11WindowSystem::Started(const LaunchToken& own)
{
	PrepareLostDisplayLine(LOST_X11_DISPLAY, getenv("DISPLAY"));
	XSetIOErrorHandler(LostDisplay);
	fStartupId = own.startupId;

	// A connection of its own, read while SDL's stays open, so that a bare
	// server never sees its last client leave (it would reset).
	float	   dpi = 0;
	::Display* display = XOpenDisplay(nullptr);
	if (display != nullptr) {
		dpi = X11Dpi(display);
		XCloseDisplay(display);
	}
	if (dpi <= 0 && SDL_GetDisplayDPI(0, nullptr, &dpi, nullptr) != 0)
		dpi = 0;
	fScale = ScaleForDpi(dpi);
}

int32
X11WindowSystem::WindowScale()
{
	return fScale;
}

// Tells the window manager, before every map of the window, what the
// window's flags allow and, for a modal window, which window it blocks, so
// that the frame offers nothing the application would refuse and the
// manager keeps the modal window above the one it blocks. Managers clear a
// window's state when it is withdrawn, so a hint set only once would be
// gone the second time the window is shown.
void
X11WindowSystem::WillShow(
	SDL_Window* sdlWindow, const WindowTraits& traits, SDL_Window* parent)
{
	::Display* display;
	Window	   window;
	if (!X11Window(sdlWindow, &display, &window))
		return;

	bool	   resizable = (traits.flags & B_NOT_RESIZABLE) == 0;
	MotifHints hints = { kMotifFunctions | kMotifDecorations,
		kMotifFunctionMove,
		kMotifDecorBorder | kMotifDecorTitle | kMotifDecorMenu, 0, 0 };
	if (resizable) {
		hints.functions |= kMotifFunctionResize;
		hints.decorations |= kMotifDecorResizeHandle;
	}
	if ((traits.flags & B_NOT_MINIMIZABLE) == 0) {
		hints.functions |= kMotifFunctionMinimize;
		hints.decorations |= kMotifDecorMinimize;
	}
	if ((traits.flags & B_NOT_ZOOMABLE) == 0 && resizable) {
		hints.functions |= kMotifFunctionMaximize;
		hints.decorations |= kMotifDecorMaximize;
	}
	if ((traits.flags & B_NOT_CLOSABLE) == 0)
		hints.functions |= kMotifFunctionClose;
	Atom motif = XInternAtom(display, "_MOTIF_WM_HINTS", False);
	XChangeProperty(display, window, motif, motif, 32, PropModeReplace,
		reinterpret_cast<unsigned char*>(&hints), 5);

	if (!resizable) {
		XSizeHints* size = XAllocSizeHints();
		if (size != nullptr) {
			long supplied;
			XGetWMNormalHints(display, window, size, &supplied);
			size->flags |= PMinSize | PMaxSize;
			size->min_width = size->max_width = traits.width * fScale;
			size->min_height = size->max_height = traits.height * fScale;
			XSetWMNormalHints(display, window, size);
			XFree(size);
		}
	}

	::Display* parentDisplay;
	Window	   parentWindow;
	if (traits.modal) {
		// Blocks the application's other windows; the main one, already
		// shown, is the one it belongs to.
		if (X11Window(parent, &parentDisplay, &parentWindow))
			XSetTransientForHint(display, window, parentWindow);
		Atom type = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
		Atom dialog = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
		XChangeProperty(display, window, type, XA_ATOM, 32, PropModeReplace,
			reinterpret_cast<unsigned char*>(&dialog), 1);
		Atom state = XInternAtom(display, "_NET_WM_STATE", False);
		Atom modal = XInternAtom(display, "_NET_WM_STATE_MODAL", False);
		if (!HasAtom(display, window, state, modal)) {
			XChangeProperty(display, window, state, XA_ATOM, 32, PropModeAppend,
				reinterpret_cast<unsigned char*>(&modal), 1);
		}
	}
	// The first window shown is the one the launcher waits for.
	if (!fStartupId.empty()) {
		Atom id = XInternAtom(display, "_NET_STARTUP_ID", False);
		XChangeProperty(display, window, id,
			XInternAtom(display, "UTF8_STRING", False), 8, PropModeReplace,
			reinterpret_cast<const unsigned char*>(fStartupId.c_str()),
			(int)fStartupId.size());
	}
	XFlush(display);
}

void
X11WindowSystem::DidShow(
	SDL_Window* sdlWindow, const WindowTraits&, SDL_Window*)
{
	::Display* display;
	Window	   window;
	if (fStartupId.empty() || !X11Window(sdlWindow, &display, &window))
		return;
	_EndStartup(display, window, fStartupId);
	fStartupId.clear();
}

// Raised with the time the user asked for the later start, so that a window
// manager that prevents focus stealing lets the window take the focus: the
// user's latest doing was that start.
void
X11WindowSystem::Activate(SDL_Window* sdlWindow, const LaunchToken& token)
{
	::Display*	  display;
	Window		  window;
	unsigned long time = StartupIdTime(token.startupId);
	if (!X11Window(sdlWindow, &display, &window)) {
		SDL_RaiseWindow(sdlWindow);
		return;
	}
	if (!token.startupId.empty())
		_EndStartup(display, window, token.startupId);
	if (time == 0) {
		SDL_RaiseWindow(sdlWindow);
		return;
	}
	XRaiseWindow(display, window);
	XEvent event = {};
	event.xclient.type = ClientMessage;
	event.xclient.window = window;
	event.xclient.message_type =
		XInternAtom(display, "_NET_ACTIVE_WINDOW", False);
	event.xclient.format = 32;
	event.xclient.data.l[0] = 1; // from an application
	event.xclient.data.l[1] = (long)time;
	XSendEvent(display, DefaultRootWindow(display), False,
		SubstructureNotifyMask | SubstructureRedirectMask, &event);
	XFlush(display);
}

// A press or the focus on a window that a shown modal window blocks brings
// the modal window back to the front, with the focus: the manager may have
// raised the blocked one above it. One it minimised anyway would leave the
// windows it blocks frozen.
void
X11WindowSystem::KeepInFront(SDL_Window* modal)
{
	if ((SDL_GetWindowFlags(modal) & SDL_WINDOW_MINIMIZED) != 0)
		SDL_RestoreWindow(modal);
	SDL_RaiseWindow(modal);
}

// Tells the launcher that the start it announced has its window, so that
// its busy pointer stops: a "remove" message in the startup notification
// protocol's pieces of twenty bytes.
void
X11WindowSystem::_EndStartup(
	::Display* display, Window window, const std::string& id)
{
	std::string message = "remove: ID=";
	for (char c : id) {
		if (c == '"' || c == '\\')
			message += '\\';
		message += c;
	}
	Atom   begin = XInternAtom(display, "_NET_STARTUP_INFO_BEGIN", False);
	Atom   more = XInternAtom(display, "_NET_STARTUP_INFO", False);
	// The ending zero is sent too.
	size_t length = message.size() + 1;
	for (size_t at = 0; at < length; at += 20) {
		XEvent event = {};
		event.xclient.type = ClientMessage;
		event.xclient.window = window;
		event.xclient.message_type = at == 0 ? begin : more;
		event.xclient.format = 8;
		memcpy(event.xclient.data.b, message.c_str() + at,
			std::min<size_t>(20, length - at));
		XSendEvent(display, DefaultRootWindow(display), False,
			PropertyChangeMask, &event);
	}
	XFlush(display);
}

void
InstallX11ErrorHandler()
{
	XErrorHandler earlier = XSetErrorHandler(PassOverMessagesToClosedWindows);
	if (earlier != PassOverMessagesToClosedWindows)
		sEarlierErrorHandler = earlier;
}

WindowSystem*
CreateX11WindowSystem()
{
	return new X11WindowSystem;
}

} // namespace BPrivate
