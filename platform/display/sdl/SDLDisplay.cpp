// Real windows through SDL2. Every SDL call happens on the main thread inside
// Pump(); window threads only leave requests and pixels under the lock, and
// wake the main thread, which sleeps until there is something to do.

#include "display/DisplayBackend.h"
#include "display/DisplayScale.h"

#include <Catalog.h>
#include <InterfaceDefs.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xresource.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <unistd.h>
#include <vector>

namespace BPrivate {

namespace {

struct SDLScreen {
	std::string title;
	BRect		frame;
	uint32		flags = 0;
	bool		modal = false;
	bool		visible = false;
	bool		raise = false;
	bool		moved = false;
	bool		dirty = false;
	int32		width = 0;
	int32		height = 0;
	std::vector<uint32>
				  pixels; // 0xAARRGGBB, as B_RGB32 bytes read on little endian
	SDL_Window*	  window = nullptr;
	SDL_Renderer* renderer = nullptr;
	SDL_Texture*  texture = nullptr;
};

class SDLDisplay : public DisplayBackend {
public:
	status_t Open() override;
	void	 Close() override;
	void	 Pump(InputSink* sink, bigtime_t timeout) override;
	void	 Wake() override;
	void	 AddWindow(int32 id, const WindowSpec& spec) override;
	void	 RemoveWindow(int32 id) override;
	void	 SetVisible(int32 id, bool visible) override;
	void	 Raise(int32 id) override;
	void	 MoveWindow(int32 id, BPoint screenLeftTop) override;
	void	 Present(int32 id, const BBitmap* surface, BRect dirty) override;
	void	 SetDragImage(const BBitmap* image, BPoint offset) override;

private:
	float	   _ScreenDpi();
	void	   _Realize(int32 id, SDLScreen& screen);
	void	   _SetWindowManagerHints(SDLScreen& screen);
	void	   _KeepModalInFront(int32 blockedId);
	void	   _Destroy(SDLScreen& screen);
	void	   _Render(SDLScreen& screen);
	void	   _RenderToSurface(SDLScreen& screen);
	void	   _RenderWithTexture(SDLScreen& screen);
	bool	   _DragRect(SDLScreen& screen, SDL_Rect* where);
	uint32*	   _Pixels(SDLScreen& screen);
	void	   _HandleEvent(const SDL_Event& event, InputSink* sink);
	void	   _HandleKey(const SDL_KeyboardEvent& event, InputSink* sink);
	int32	   _IdFor(uint32 sdlWindowId);

	std::mutex fLock;
	std::map<int32, SDLScreen> fScreens;
	std::vector<SDLScreen>	   fDoomed;
	// Wake() may come from any thread at any time, before Open() and after
	// Close() too: it pushes an event only while the video subsystem is up.
	// Taken after fLock when both are held.
	std::mutex				   fWakeLock;
	bool					   fOpen = false;
	uint32					   fWakeEvent = (uint32)-1;
	uint32					   fButtons = 0;
	// drag image
	std::vector<uint32>		   fDragPixels;
	int32					   fDragWidth = 0;
	int32					   fDragHeight = 0;
	BPoint					   fDragOffset;
	bool					   fDragChanged = false;
	BPoint					   fPointer;
	int32					   fPointerWindow = -1;
	// Screen pixels per pixel of the application; the application's own
	// coordinates never change with it.
	int32					   fScale = 1;
	bool					   fFirstFramePresented = false;
};

bool
HasValue(const char* variable)
{
	const char* value = getenv(variable);
	return value != nullptr && value[0] != '\0';
}

// For start-up measurements: with KX_REPORT_FIRST_FRAME set, the wall clock
// time of the first frame on the screen goes to standard error.
void
ReportFirstFrame()
{
	if (getenv("KX_REPORT_FIRST_FRAME") == nullptr)
		return;
	timespec now;
	clock_gettime(CLOCK_REALTIME, &now);
	fprintf(
		stderr, "first frame %lld.%09ld\n", (long long)now.tv_sec, now.tv_nsec);
}

// The line written when the X server goes away, made up front: the handler
// runs in the middle of an X call and must neither allocate nor return.
char   sLostDisplayLine[1024];
size_t sLostDisplayLength = 0;

int
LostDisplay(::Display*)
{
	ssize_t written =
		write(STDERR_FILENO, sLostDisplayLine, sLostDisplayLength);
	(void)written;
	// Nothing of the game can be shown or saved any more; the other threads
	// may hold any lock, so nothing is cleaned up on the way out.
	_exit(1);
}

XErrorHandler sEarlierErrorHandler = nullptr;

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

void
PrepareLostDisplayLine()
{
	const char* display = getenv("DISPLAY");
	int			length = snprintf(sLostDisplayLine, sizeof(sLostDisplayLine),
				// TRANSLATORS: on standard error when the desktop goes away
				// under the running game; the first %s is the program's
				// name, the second the display's name, such as :0.
				B_TRANSLATE("%s: lost the connection to the X display %s; "
									"start the game again once the desktop runs\n"),
				program_invocation_short_name, display != nullptr ? display : "");
	sLostDisplayLength =
		length > 0 ? std::min((size_t)length, sizeof(sLostDisplayLine) - 1) : 0;
	if (sLostDisplayLength > 0)
		sLostDisplayLine[sLostDisplayLength - 1] = '\n';
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

status_t
SDLDisplay::Open()
{
	if (fOpen)
		return B_OK;
	SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
	// Closing a window is the application's decision, never SDL's.
	SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
	SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
	SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
	// The windows are plain pictures: without this SDL readies OpenGL for
	// every window, which loads the GL stack (on Mesa over 80 MB resident).
	SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
	// A game left open all day must not keep the screen from blanking.
	SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
	// Without a desktop SDL would settle for an invisible offscreen driver
	// (and the Wayland client library would complain on the way); a game
	// nobody can see counts as no display. An explicit SDL_VIDEODRIVER is
	// taken as asked.
	bool chosen = HasValue("SDL_VIDEODRIVER");
	if (!chosen && !HasValue("DISPLAY") && !HasValue("WAYLAND_DISPLAY"))
		return B_ERROR;
	if (!chosen && HasValue("DISPLAY") != HasValue("WAYLAND_DISPLAY"))
		SDL_SetHint(
			SDL_HINT_VIDEODRIVER, HasValue("DISPLAY") ? "x11" : "wayland");
	// Set before SDL starts, so that SDL's own handler passes errors on to
	// it and SDL puts it back, not Xlib's, when it closes its connections.
	XErrorHandler earlier = XSetErrorHandler(PassOverMessagesToClosedWindows);
	if (earlier != PassOverMessagesToClosedWindows)
		sEarlierErrorHandler = earlier;
	if (SDL_Init(SDL_INIT_VIDEO) != 0)
		return B_ERROR;
	const char* driver = SDL_GetCurrentVideoDriver();
	if (!chosen
		&& (driver == nullptr || strcmp(driver, "offscreen") == 0
			|| strcmp(driver, "dummy") == 0)) {
		SDL_Quit();
		return B_ERROR;
	}
	if (driver != nullptr && strcmp(driver, "x11") == 0) {
		PrepareLostDisplayLine();
		XSetIOErrorHandler(LostDisplay);
	}
	fScale = ScaleForDpi(_ScreenDpi());
	// Enlarged pixels stay sharp squares.
	SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
	std::lock_guard<std::mutex> guard(fWakeLock);
	fWakeEvent = SDL_RegisterEvents(1);
	fOpen = true;
	return B_OK;
}

float
SDLDisplay::_ScreenDpi()
{
	const char* driver = SDL_GetCurrentVideoDriver();
	if (driver != nullptr && strcmp(driver, "x11") == 0) {
		// A connection of its own, read while SDL's stays open, so that a
		// bare server never sees its last client leave (it would reset).
		::Display* display = XOpenDisplay(nullptr);
		if (display != nullptr) {
			float dpi = X11Dpi(display);
			XCloseDisplay(display);
			if (dpi > 0)
				return dpi;
		}
	}
	float dpi = 0;
	if (SDL_GetDisplayDPI(0, nullptr, &dpi, nullptr) == 0)
		return dpi;
	return 0;
}

void
SDLDisplay::Close()
{
	if (!fOpen)
		return;
	std::lock_guard<std::mutex> guard(fLock);
	{
		std::lock_guard<std::mutex> wakeGuard(fWakeLock);
		fOpen = false;
	}
	for (auto& [id, screen] : fScreens)
		_Destroy(screen);
	for (SDLScreen& screen : fDoomed)
		_Destroy(screen);
	fDoomed.clear();
	fScreens.clear();
	SDL_Quit();
}

void
SDLDisplay::Wake()
{
	std::lock_guard<std::mutex> guard(fWakeLock);
	if (!fOpen || fWakeEvent == (uint32)-1)
		return;
	SDL_Event event;
	memset(&event, 0, sizeof(event));
	event.type = fWakeEvent;
	SDL_PushEvent(&event);
}

void
SDLDisplay::AddWindow(int32 id, const WindowSpec& spec)
{
	std::lock_guard<std::mutex> guard(fLock);
	SDLScreen&					screen = fScreens[id];
	screen.title = spec.title != nullptr ? spec.title : "";
	screen.frame = spec.frame;
	screen.flags = spec.flags;
	screen.modal = spec.modal;
	screen.width = spec.frame.IntegerWidth() + 1;
	screen.height = spec.frame.IntegerHeight() + 1;
	// The pixels come with the first showing or drawing (_Pixels).
}

void
SDLDisplay::RemoveWindow(int32 id)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						it = fScreens.find(id);
	if (it == fScreens.end())
		return;
	fDoomed.push_back(std::move(it->second));
	fScreens.erase(it);
	Wake();
}

void
SDLDisplay::SetVisible(int32 id, bool visible)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						it = fScreens.find(id);
	if (it != fScreens.end()) {
		it->second.visible = visible;
		it->second.dirty = true;
	}
	Wake();
}

void
SDLDisplay::Raise(int32 id)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						it = fScreens.find(id);
	if (it != fScreens.end())
		it->second.raise = true;
	Wake();
}

void
SDLDisplay::MoveWindow(int32 id, BPoint leftTop)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						it = fScreens.find(id);
	if (it != fScreens.end()) {
		it->second.frame.OffsetTo(leftTop);
		it->second.moved = true;
	}
	Wake();
}

void
SDLDisplay::Present(int32 id, const BBitmap* surface, BRect dirty)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						it = fScreens.find(id);
	if (it == fScreens.end() || surface == nullptr
		|| surface->Bits() == nullptr)
		return;
	SDLScreen& screen = it->second;
	dirty = dirty & surface->Bounds()
		& BRect(0, 0, screen.width - 1, screen.height - 1);
	if (!dirty.IsValid())
		return;
	const uint8* bits = static_cast<const uint8*>(surface->Bits());
	int32		 left = (int32)dirty.left;
	int32		 width = (int32)dirty.right - left + 1;
	uint32*		 pixels = _Pixels(screen);
	for (int32 y = (int32)dirty.top; y <= (int32)dirty.bottom; y++) {
		memcpy(&pixels[(size_t)y * screen.width + left],
			bits + y * surface->BytesPerRow() + left * 4, width * 4);
	}
	screen.dirty = true;
	Wake();
}

void
SDLDisplay::SetDragImage(const BBitmap* image, BPoint offset)
{
	std::lock_guard<std::mutex> guard(fLock);
	fDragPixels.clear();
	fDragWidth = fDragHeight = 0;
	if (image != nullptr && image->Bits() != nullptr
		&& (image->ColorSpace() == B_RGB32
			|| image->ColorSpace() == B_RGBA32)) {
		fDragWidth = image->Bounds().IntegerWidth() + 1;
		fDragHeight = image->Bounds().IntegerHeight() + 1;
		fDragPixels.resize((size_t)fDragWidth * fDragHeight);
		for (int32 y = 0; y < fDragHeight; y++) {
			memcpy(&fDragPixels[(size_t)y * fDragWidth],
				static_cast<const uint8*>(image->Bits())
					+ y * image->BytesPerRow(),
				fDragWidth * 4);
		}
	}
	fDragOffset = offset;
	fDragChanged = true;
	Wake();
}

void
SDLDisplay::_Realize(int32 id, SDLScreen& screen)
{
	(void)id;
	screen.window = SDL_CreateWindow(screen.title.c_str(),
		(int)screen.frame.left * fScale, (int)screen.frame.top * fScale,
		screen.width * fScale, screen.height * fScale, SDL_WINDOW_HIDDEN);
	if (screen.window == nullptr)
		return;
	// The window's pixels go straight to SDL's window surface, with no
	// renderer and no texture holding another copy of them. Where SDL has
	// no window surface of its own (some desktops only give one through a
	// renderer), a renderer with a texture shows them instead.
	if (SDL_GetWindowSurface(screen.window) == nullptr) {
		// Copying a few small pictures needs no graphics card; a GL
		// renderer would load the whole GL stack, which costs more
		// start-up time and memory than the game itself.
		screen.renderer =
			SDL_CreateRenderer(screen.window, -1, SDL_RENDERER_SOFTWARE);
		if (screen.renderer == nullptr)
			screen.renderer = SDL_CreateRenderer(screen.window, -1, 0);
		if (screen.renderer == nullptr)
			return;
		screen.texture =
			SDL_CreateTexture(screen.renderer, SDL_PIXELFORMAT_ARGB8888,
				SDL_TEXTUREACCESS_STREAMING, screen.width, screen.height);
		if (screen.texture == nullptr)
			return;
		SDL_SetTextureScaleMode(screen.texture, SDL_ScaleModeNearest);
	}
	SDL_SetWindowData(
		screen.window, "kx-id", reinterpret_cast<void*>((intptr_t)id));
	screen.dirty = true;
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

// Tells the window manager, before every map of the window, what the
// window's flags allow and, for a modal window, which window it blocks, so
// that the frame offers nothing the application would refuse and the
// manager keeps the modal window above the one it blocks. Managers clear a
// window's state when it is withdrawn, so a hint set only once would be
// gone the second time the window is shown.
void
SDLDisplay::_SetWindowManagerHints(SDLScreen& screen)
{
	SDL_SysWMinfo info;
	SDL_VERSION(&info.version);
	if (!SDL_GetWindowWMInfo(screen.window, &info)
		|| info.subsystem != SDL_SYSWM_X11)
		return;
	::Display* display = info.info.x11.display;
	Window	   window = info.info.x11.window;

	bool	   resizable = (screen.flags & B_NOT_RESIZABLE) == 0;
	MotifHints hints = { kMotifFunctions | kMotifDecorations,
		kMotifFunctionMove,
		kMotifDecorBorder | kMotifDecorTitle | kMotifDecorMenu, 0, 0 };
	if (resizable) {
		hints.functions |= kMotifFunctionResize;
		hints.decorations |= kMotifDecorResizeHandle;
	}
	if ((screen.flags & B_NOT_MINIMIZABLE) == 0) {
		hints.functions |= kMotifFunctionMinimize;
		hints.decorations |= kMotifDecorMinimize;
	}
	if ((screen.flags & B_NOT_ZOOMABLE) == 0 && resizable) {
		hints.functions |= kMotifFunctionMaximize;
		hints.decorations |= kMotifDecorMaximize;
	}
	if ((screen.flags & B_NOT_CLOSABLE) == 0)
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
			size->min_width = size->max_width = screen.width * fScale;
			size->min_height = size->max_height = screen.height * fScale;
			XSetWMNormalHints(display, window, size);
			XFree(size);
		}
	}

	if (screen.modal) {
		// Blocks the application's other windows; the main one, already
		// shown, is the one it belongs to.
		for (auto& [otherId, other] : fScreens) {
			if (&other == &screen || other.modal || other.window == nullptr
				|| !other.visible)
				continue;
			SDL_SysWMinfo otherInfo;
			SDL_VERSION(&otherInfo.version);
			if (SDL_GetWindowWMInfo(other.window, &otherInfo)
				&& otherInfo.subsystem == SDL_SYSWM_X11) {
				XSetTransientForHint(
					display, window, otherInfo.info.x11.window);
				break;
			}
		}
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
	XFlush(display);
}

// A press or the focus on a window that a shown modal window blocks brings
// the modal window back to the front, with the focus: the manager may have
// raised the blocked one above it.
void
SDLDisplay::_KeepModalInFront(int32 blockedId)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						blocked = fScreens.find(blockedId);
	if (blocked == fScreens.end() || blocked->second.modal)
		return;
	for (auto& [id, screen] : fScreens) {
		if (screen.modal && screen.visible && screen.window != nullptr)
			screen.raise = true;
	}
}

void
SDLDisplay::_Destroy(SDLScreen& screen)
{
	if (screen.texture != nullptr)
		SDL_DestroyTexture(screen.texture);
	if (screen.renderer != nullptr)
		SDL_DestroyRenderer(screen.renderer);
	if (screen.window != nullptr)
		SDL_DestroyWindow(screen.window);
	screen.texture = nullptr;
	screen.renderer = nullptr;
	screen.window = nullptr;
}

// The screen's copy of the window, made on first use: a window that is
// never shown costs no pixels. Until the window draws, it is the panel grey.
uint32*
SDLDisplay::_Pixels(SDLScreen& screen)
{
	if (screen.pixels.empty())
		screen.pixels.assign((size_t)screen.width * screen.height, 0xffd8d8d8);
	return screen.pixels.data();
}

// Where the drag image lies in the window, in the window's own pixels;
// false when it is not over this window.
bool
SDLDisplay::_DragRect(SDLScreen& screen, SDL_Rect* where)
{
	if (fDragPixels.empty() || screen.window == nullptr
		|| SDL_GetMouseFocus() != screen.window)
		return false;
	int x, y;
	SDL_GetMouseState(&x, &y);
	*where = { x - (int)fDragOffset.x * fScale, y - (int)fDragOffset.y * fScale,
		fDragWidth * fScale, fDragHeight * fScale };
	return true;
}

void
SDLDisplay::_Render(SDLScreen& screen)
{
	if (screen.renderer == nullptr)
		_RenderToSurface(screen);
	else
		_RenderWithTexture(screen);
	if (!fFirstFramePresented) {
		fFirstFramePresented = true;
		ReportFirstFrame();
	}
}

void
SDLDisplay::_RenderToSurface(SDLScreen& screen)
{
	SDL_Surface* target = screen.window != nullptr
		? SDL_GetWindowSurface(screen.window)
		: nullptr;
	if (target == nullptr)
		return;
	// Each pixel is enlarged to a square of fScale screen pixels.
	SDL_Surface* window =
		SDL_CreateRGBSurfaceWithFormatFrom(_Pixels(screen), screen.width,
			screen.height, 32, screen.width * 4, SDL_PIXELFORMAT_ARGB8888);
	if (window != nullptr) {
		SDL_SetSurfaceBlendMode(window, SDL_BLENDMODE_NONE);
		SDL_BlitScaled(window, nullptr, target, nullptr);
		SDL_FreeSurface(window);
	}
	// The drag image follows the pointer over the window it is in.
	SDL_Rect where;
	if (_DragRect(screen, &where)) {
		SDL_Surface* drag =
			SDL_CreateRGBSurfaceWithFormatFrom(fDragPixels.data(), fDragWidth,
				fDragHeight, 32, fDragWidth * 4, SDL_PIXELFORMAT_ARGB8888);
		if (drag != nullptr) {
			SDL_SetSurfaceBlendMode(drag, SDL_BLENDMODE_BLEND);
			SDL_BlitScaled(drag, nullptr, target, &where);
			SDL_FreeSurface(drag);
		}
	}
	SDL_UpdateWindowSurface(screen.window);
}

void
SDLDisplay::_RenderWithTexture(SDLScreen& screen)
{
	if (screen.texture == nullptr)
		return;
	SDL_UpdateTexture(
		screen.texture, nullptr, _Pixels(screen), screen.width * 4);
	SDL_RenderClear(screen.renderer);
	SDL_RenderCopy(screen.renderer, screen.texture, nullptr, nullptr);
	SDL_Rect where;
	if (_DragRect(screen, &where)) {
		SDL_Texture* drag =
			SDL_CreateTexture(screen.renderer, SDL_PIXELFORMAT_ARGB8888,
				SDL_TEXTUREACCESS_STATIC, fDragWidth, fDragHeight);
		if (drag != nullptr) {
			SDL_UpdateTexture(
				drag, nullptr, fDragPixels.data(), fDragWidth * 4);
			SDL_SetTextureBlendMode(drag, SDL_BLENDMODE_BLEND);
			SDL_SetTextureScaleMode(drag, SDL_ScaleModeNearest);
			SDL_RenderCopy(screen.renderer, drag, nullptr, &where);
			SDL_DestroyTexture(drag);
		}
	}
	SDL_RenderPresent(screen.renderer);
}

int32
SDLDisplay::_IdFor(uint32 sdlWindowId)
{
	SDL_Window* window = SDL_GetWindowFromID(sdlWindowId);
	if (window == nullptr)
		return -1;
	return (int32)(intptr_t)SDL_GetWindowData(window, "kx-id");
}

static uint32
ButtonsFrom(uint32 state)
{
	uint32 buttons = 0;
	if (state & SDL_BUTTON(SDL_BUTTON_LEFT))
		buttons |= B_PRIMARY_MOUSE_BUTTON;
	if (state & SDL_BUTTON(SDL_BUTTON_RIGHT))
		buttons |= B_SECONDARY_MOUSE_BUTTON;
	if (state & SDL_BUTTON(SDL_BUTTON_MIDDLE))
		buttons |= B_TERTIARY_MOUSE_BUTTON;
	return buttons;
}

void
SDLDisplay::_HandleEvent(const SDL_Event& event, InputSink* sink)
{
	int32 id = -1;
	int	  x = 0, y = 0;
	switch (event.type) {
		case SDL_MOUSEMOTION:
			id = _IdFor(event.motion.windowID);
			x = event.motion.x;
			y = event.motion.y;
			fButtons = ButtonsFrom(event.motion.state);
			break;
		case SDL_QUIT:
			AskToQuit();
			return;
		case SDL_MOUSEBUTTONDOWN:
		case SDL_MOUSEBUTTONUP:
			id = _IdFor(event.button.windowID);
			if (event.type == SDL_MOUSEBUTTONDOWN)
				_KeepModalInFront(id);
			x = event.button.x;
			y = event.button.y;
			{
				// Taken from the event itself: by the time it is handled the
				// button may be up again.
				uint32 button = event.button.button == SDL_BUTTON_LEFT
					? B_PRIMARY_MOUSE_BUTTON
					: event.button.button == SDL_BUTTON_RIGHT
					? B_SECONDARY_MOUSE_BUTTON
					: B_TERTIARY_MOUSE_BUTTON;
				if (event.type == SDL_MOUSEBUTTONDOWN)
					fButtons |= button;
				else
					fButtons &= ~button;
			}
			break;
		case SDL_KEYDOWN:
			_HandleKey(event.key, sink);
			return;
		case SDL_WINDOWEVENT: {
			int32 windowId = _IdFor(event.window.windowID);
			if (windowId < 0)
				return;
			switch (event.window.event) {
				case SDL_WINDOWEVENT_CLOSE:
					sink->HandleCloseRequest(windowId);
					break;
				case SDL_WINDOWEVENT_EXPOSED:
					sink->HandleExposed(windowId);
					break;
				case SDL_WINDOWEVENT_FOCUS_GAINED:
					_KeepModalInFront(windowId);
					break;
				case SDL_WINDOWEVENT_MOVED: {
					BPoint leftTop(FromScreen(event.window.data1, fScale),
						FromScreen(event.window.data2, fScale));
					{
						std::lock_guard<std::mutex> guard(fLock);
						auto it = fScreens.find(windowId);
						if (it != fScreens.end())
							it->second.frame.OffsetTo(leftTop);
					}
					sink->HandleWindowMoved(windowId, leftTop);
					break;
				}
				default:
					break;
			}
			return;
		}
		default:
			return;
	}
	if (id < 0)
		return;
	BPoint origin;
	{
		std::lock_guard<std::mutex> guard(fLock);
		auto						it = fScreens.find(id);
		if (it == fScreens.end())
			return;
		origin = it->second.frame.LeftTop();
	}
	fPointer = origin + BPoint(FromScreen(x, fScale), FromScreen(y, fScale));
	fPointerWindow = id;
	sink->HandlePointer(fPointer, fButtons);
}

// The character a key types and its key code on the original platform's
// keyboard map; keys that type nothing the application uses give 0.
static void
TranslateKey(SDL_Keycode code, char* byte, int32* key)
{
	static const struct {
		SDL_Keycode code;
		char		byte;
		int32		key;
	} kKeys[] = {
		{ SDLK_ESCAPE, B_ESCAPE, 0x01 },
		{ SDLK_TAB, B_TAB, 0x26 },
		{ SDLK_RETURN, B_ENTER, 0x47 },
		{ SDLK_KP_ENTER, B_ENTER, 0x5b },
		{ SDLK_SPACE, B_SPACE, 0x5e },
		{ SDLK_BACKSPACE, B_BACKSPACE, 0x1e },
		{ SDLK_LEFT, B_LEFT_ARROW, 0x61 },
		{ SDLK_RIGHT, B_RIGHT_ARROW, 0x63 },
		{ SDLK_UP, B_UP_ARROW, 0x57 },
		{ SDLK_DOWN, B_DOWN_ARROW, 0x62 },
		{ SDLK_INSERT, B_INSERT, 0x1f },
		{ SDLK_DELETE, B_DELETE, 0x34 },
		{ SDLK_HOME, B_HOME, 0x20 },
		{ SDLK_END, B_END, 0x35 },
		{ SDLK_PAGEUP, B_PAGE_UP, 0x21 },
		{ SDLK_PAGEDOWN, B_PAGE_DOWN, 0x36 },
	};
	*byte = 0;
	*key = 0;
	for (const auto& entry : kKeys) {
		if (entry.code == code) {
			*byte = entry.byte;
			*key = entry.key;
			return;
		}
	}
	if (code >= SDLK_F1 && code <= SDLK_F12) {
		*byte = B_FUNCTION_KEY;
		*key = B_F1_KEY + (code - SDLK_F1);
	} else if (code >= SDLK_1 && code <= SDLK_9) {
		*byte = (char)code;
		*key = 0x12 + (code - SDLK_1);
	} else if (code >= SDLK_KP_1 && code <= SDLK_KP_9) {
		// The keypad's digits type the same digits.
		*byte = (char)('1' + (code - SDLK_KP_1));
		static const int32 kKeypad[9] = { 0x58, 0x59, 0x5a, 0x48, 0x49, 0x4a,
			0x37, 0x38, 0x39 };
		*key = kKeypad[code - SDLK_KP_1];
	} else if (code > ' ' && code < 0x7f) {
		*byte = (char)code;
	}
}

static uint32
ModifiersFrom(uint16 mod)
{
	uint32 modifiers = 0;
	if (mod & KMOD_SHIFT)
		modifiers |= B_SHIFT_KEY;
	if (mod & KMOD_CTRL)
		modifiers |= B_CONTROL_KEY;
	if (mod & KMOD_ALT)
		modifiers |= B_COMMAND_KEY;
	if (mod & KMOD_GUI)
		modifiers |= B_OPTION_KEY;
	if (mod & KMOD_CAPS)
		modifiers |= B_CAPS_LOCK;
	if (mod & KMOD_NUM)
		modifiers |= B_NUM_LOCK;
	return modifiers;
}

void
SDLDisplay::_HandleKey(const SDL_KeyboardEvent& event, InputSink* sink)
{
	char  bytes[2] = { 0, 0 };
	int32 key;
	TranslateKey(event.keysym.sym, &bytes[0], &key);
	if (bytes[0] == 0)
		return;
	// Keys go to the window that has the keyboard; the desktop holds them
	// back from a window behind a modal one.
	int32 id = _IdFor(event.windowID);
	if (id < 0)
		return;
	sink->HandleKey(id, bytes, key, ModifiersFrom(event.keysym.mod));
}

void
SDLDisplay::Pump(InputSink* sink, bigtime_t timeout)
{
	{
		std::lock_guard<std::mutex> guard(fLock);
		for (SDLScreen& screen : fDoomed)
			_Destroy(screen);
		fDoomed.clear();
		for (auto& [id, screen] : fScreens) {
			if (screen.window == nullptr && screen.visible)
				_Realize(id, screen);
			if (screen.window == nullptr)
				continue;
			bool shown =
				(SDL_GetWindowFlags(screen.window) & SDL_WINDOW_SHOWN) != 0;
			if (screen.visible && !shown) {
				_SetWindowManagerHints(screen);
				SDL_ShowWindow(screen.window);
			} else if (!screen.visible && shown)
				SDL_HideWindow(screen.window);
			if (screen.moved) {
				SDL_SetWindowPosition(screen.window,
					(int)screen.frame.left * fScale,
					(int)screen.frame.top * fScale);
				screen.moved = false;
			}
			if (screen.raise) {
				// A modal window that the manager minimised anyway would
				// leave the windows it blocks frozen.
				if ((SDL_GetWindowFlags(screen.window) & SDL_WINDOW_MINIMIZED)
					!= 0)
					SDL_RestoreWindow(screen.window);
				SDL_RaiseWindow(screen.window);
				screen.raise = false;
			}
		}
	}

	// A wake-up is an event in SDL's queue, so one that came before the
	// wait ends it at once.
	SDL_Event event;
	int		  waitMs = timeout >= B_INFINITE_TIMEOUT
			  ? -1
			  : (int)std::min<bigtime_t>(timeout / 1000, INT_MAX);
	if (SDL_WaitEventTimeout(&event, waitMs) != 0) {
		do {
			if (event.type != fWakeEvent)
				_HandleEvent(event, sink);
		} while (SDL_PollEvent(&event) != 0);
	}

	std::lock_guard<std::mutex> guard(fLock);
	bool						dragging = !fDragPixels.empty() || fDragChanged;
	for (auto& [id, screen] : fScreens) {
		if (screen.window == nullptr || !screen.visible)
			continue;
		if (screen.dirty || dragging) {
			_Render(screen);
			screen.dirty = false;
		}
	}
	fDragChanged = false;
}

} // namespace

DisplayBackend*
CreateSDLDisplay()
{
	return new SDLDisplay;
}

} // namespace BPrivate
