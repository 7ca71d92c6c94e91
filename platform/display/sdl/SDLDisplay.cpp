// Real windows through SDL2. Every SDL call happens on the main thread inside
// Pump(); window threads only leave requests and pixels under the lock, and
// wake the main thread, which sleeps until there is something to do. What
// differs between X11 and Wayland lives in the window system (WindowSystem.h).

#include "display/DisplayBackend.h"
#include "display/DisplayScale.h"
#include "display/sdl/VideoDriverChoice.h"
#include "display/sdl/WindowSystem.h"

#include <InterfaceDefs.h>

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <mutex>
#include <string>
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
	LaunchToken raiseToken; // of a later start that asked for the window
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
	void	 RaiseForLaunch(int32 id, const LaunchToken& token) override;
	void	 MoveWindow(int32 id, BPoint screenLeftTop) override;
	void	 Present(int32 id, const BBitmap* surface, BRect dirty) override;
	void	 SetDragImage(const BBitmap* image, BPoint offset) override;

private:
	bool	   _Realize(int32 id, SDLScreen& screen);
	void	   _Show(SDLScreen& screen);
	void	   _KeepModalInFront(int32 blockedId);
	void	   _Destroy(SDLScreen& screen);
	void	   _Render(SDLScreen& screen);
	void	   _RenderToSurface(SDLScreen& screen);
	void	   _RenderWithTexture(SDLScreen& screen);
	bool	   _DragRect(SDLScreen& screen, int32 scale, SDL_Rect* where);
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
	// Screen pixels per pixel of the application in window sizes and
	// pointer positions; the application's own coordinates never change
	// with it. The frames may be drawn at another (WindowSystem).
	int32					   fScale = 1;
	WindowSystem*			   fSystem = nullptr;
	bool					   fFirstFramePresented = false;
};

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

// Sets an SDL variable that only the environment carries, unless the user
// set it; true when it was set here and is to be taken away again.
bool
SetUnlessSet(const char* variable, const char* value)
{
	if (getenv(variable) != nullptr)
		return false;
	setenv(variable, value, 1);
	return true;
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
	video_driver choice = ChooseVideoDriver(ReadDesktopOffer());
	if (choice == VIDEO_DRIVER_NONE)
		return B_ERROR;
	if (choice != VIDEO_DRIVER_USERS)
		SDL_SetHint(SDL_HINT_VIDEODRIVER,
			choice == VIDEO_DRIVER_X11 ? "x11" : "wayland");
	// The desktop knows the game's windows by the name of its desktop entry.
	bool waylandClass = SetUnlessSet("SDL_VIDEO_WAYLAND_WMCLASS", KX_APP_ID);
	bool x11Class = SetUnlessSet("SDL_VIDEO_X11_WMCLASS", KX_APP_ID);
	// The launcher's token is the first window's; the programs the game
	// starts later must not take it for their own.
	LaunchToken own = LaunchTokenFromEnvironment(true);
	InstallX11ErrorHandler();
	int started = SDL_Init(SDL_INIT_VIDEO);
	if (waylandClass)
		unsetenv("SDL_VIDEO_WAYLAND_WMCLASS");
	if (x11Class)
		unsetenv("SDL_VIDEO_X11_WMCLASS");
	if (started != 0)
		return B_ERROR;
	const char* driver = SDL_GetCurrentVideoDriver();
	if (driver != nullptr && strcmp(driver, "x11") == 0)
		fSystem = CreateX11WindowSystem();
	else if (driver != nullptr && strcmp(driver, "wayland") == 0)
		fSystem = CreateWaylandWindowSystem();
	else
		fSystem = new WindowSystem;
	fSystem->Started(own);
	fScale = fSystem->WindowScale();
	// Enlarged pixels stay sharp squares.
	SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
	std::lock_guard<std::mutex> guard(fWakeLock);
	fWakeEvent = SDL_RegisterEvents(1);
	fOpen = true;
	return B_OK;
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
	// Before SDL closes the connection it may have made use of.
	delete fSystem;
	fSystem = nullptr;
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
	RaiseForLaunch(id, LaunchToken());
}

void
SDLDisplay::RaiseForLaunch(int32 id, const LaunchToken& token)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						it = fScreens.find(id);
	if (it != fScreens.end()) {
		it->second.raise = true;
		it->second.raiseToken = token;
	}
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

// Makes the window on the screen; true when it was given a place of its own
// that the desktop is to be told.
bool
SDLDisplay::_Realize(int32 id, SDLScreen& screen)
{
	screen.window = SDL_CreateWindow(screen.title.c_str(),
		(int)screen.frame.left * fScale, (int)screen.frame.top * fScale,
		screen.width * fScale, screen.height * fScale, SDL_WINDOW_HIDDEN);
	if (screen.window == nullptr)
		return false;
	// The window's pixels go straight to a surface of the window's, with no
	// renderer and no texture holding another copy of them. Where there is
	// none (some desktops only give one through a renderer), a renderer with
	// a texture shows them instead.
	int32 scale = fSystem->FrameScale(screen.window);
	if (fSystem->FrameSurface(
			screen.window, screen.width * scale, screen.height * scale)
		== nullptr) {
		// Copying a few small pictures needs no graphics card; a GL
		// renderer would load the whole GL stack, which costs more
		// start-up time and memory than the game itself.
		screen.renderer =
			SDL_CreateRenderer(screen.window, -1, SDL_RENDERER_SOFTWARE);
		if (screen.renderer == nullptr)
			screen.renderer = SDL_CreateRenderer(screen.window, -1, 0);
		if (screen.renderer == nullptr)
			return false;
		screen.texture =
			SDL_CreateTexture(screen.renderer, SDL_PIXELFORMAT_ARGB8888,
				SDL_TEXTUREACCESS_STREAMING, screen.width, screen.height);
		if (screen.texture == nullptr)
			return false;
		SDL_SetTextureScaleMode(screen.texture, SDL_ScaleModeNearest);
	}
	SDL_SetWindowData(
		screen.window, "kx-id", reinterpret_cast<void*>((intptr_t)id));
	screen.dirty = true;
	if (fSystem->KnowsPositions())
		return false;
	// Where windows are is the window system's secret: each gets a place of
	// its own, far from the others, so that a press in one is never taken
	// for one in another that overlaps it in the frames the application
	// asked for.
	screen.frame.OffsetTo(BPoint(id * 8192.0f, 0));
	return true;
}

// Shows the window with the hints of its flags; a modal one belongs to the
// shown window it blocks.
void
SDLDisplay::_Show(SDLScreen& screen)
{
	SDL_Window* parent = nullptr;
	if (screen.modal) {
		for (auto& [otherId, other] : fScreens) {
			if (&other != &screen && !other.modal && other.window != nullptr
				&& other.visible) {
				parent = other.window;
				break;
			}
		}
	}
	WindowTraits traits = { screen.flags, screen.modal, screen.width,
		screen.height };
	fSystem->WillShow(screen.window, traits, parent);
	SDL_ShowWindow(screen.window);
	fSystem->DidShow(screen.window, traits, parent);
	screen.dirty = true;
}

// A press or the focus on a window that a shown modal window blocks: the
// window system may have to bring the modal window back to the front.
void
SDLDisplay::_KeepModalInFront(int32 blockedId)
{
	std::lock_guard<std::mutex> guard(fLock);
	auto						blocked = fScreens.find(blockedId);
	if (blocked == fScreens.end() || blocked->second.modal)
		return;
	for (auto& [id, screen] : fScreens) {
		if (screen.modal && screen.visible && screen.window != nullptr)
			fSystem->KeepInFront(screen.window);
	}
}

void
SDLDisplay::_Destroy(SDLScreen& screen)
{
	if (screen.texture != nullptr)
		SDL_DestroyTexture(screen.texture);
	if (screen.renderer != nullptr)
		SDL_DestroyRenderer(screen.renderer);
	if (screen.window != nullptr) {
		fSystem->WindowGone(screen.window);
		SDL_DestroyWindow(screen.window);
	}
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

// Where the drag image lies in the window, in the pixels of a frame drawn at
// that scale; false when it is not over this window.
bool
SDLDisplay::_DragRect(SDLScreen& screen, int32 scale, SDL_Rect* where)
{
	if (fDragPixels.empty() || screen.window == nullptr
		|| SDL_GetMouseFocus() != screen.window)
		return false;
	int x, y;
	SDL_GetMouseState(&x, &y);
	*where = { x * scale / fScale - (int)fDragOffset.x * scale,
		y * scale / fScale - (int)fDragOffset.y * scale, fDragWidth * scale,
		fDragHeight * scale };
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
	int32		 scale = fSystem->FrameScale(screen.window);
	SDL_Surface* target = fSystem->FrameSurface(
		screen.window, screen.width * scale, screen.height * scale);
	if (target == nullptr)
		return;
	// Each pixel is enlarged to a square of scale screen pixels.
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
	if (_DragRect(screen, scale, &where)) {
		SDL_Surface* drag =
			SDL_CreateRGBSurfaceWithFormatFrom(fDragPixels.data(), fDragWidth,
				fDragHeight, 32, fDragWidth * 4, SDL_PIXELFORMAT_ARGB8888);
		if (drag != nullptr) {
			SDL_SetSurfaceBlendMode(drag, SDL_BLENDMODE_BLEND);
			SDL_BlitScaled(drag, nullptr, target, &where);
			SDL_FreeSurface(drag);
		}
	}
	fSystem->ShowFrame(screen.window);
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
	if (_DragRect(screen, fScale, &where)) {
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
			// A lost connection is told as one, not as a quit request.
			fSystem->AfterWait();
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
					bool   known = fSystem->KnowsPositions();
					{
						std::lock_guard<std::mutex> guard(fLock);
						auto it = fScreens.find(windowId);
						if (it != fScreens.end() && known)
							it->second.frame.OffsetTo(leftTop);
						// Moved to another screen, which may be denser.
						if (it != fScreens.end())
							it->second.dirty = true;
					}
					if (known)
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
	std::vector<std::pair<int32, BPoint>> placed;
	{
		std::lock_guard<std::mutex> guard(fLock);
		for (SDLScreen& screen : fDoomed)
			_Destroy(screen);
		fDoomed.clear();
		for (auto& [id, screen] : fScreens) {
			if (screen.window == nullptr && screen.visible
				&& _Realize(id, screen))
				placed.push_back({ id, screen.frame.LeftTop() });
			if (screen.window == nullptr)
				continue;
			bool shown =
				(SDL_GetWindowFlags(screen.window) & SDL_WINDOW_SHOWN) != 0;
			if (screen.visible && !shown)
				_Show(screen);
			else if (!screen.visible && shown)
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
				fSystem->Activate(screen.window, screen.raiseToken);
				screen.raise = false;
				screen.raiseToken = LaunchToken();
			}
		}
	}
	// Told outside the lock: the desktop calls the display under its own.
	for (const auto& [id, leftTop] : placed)
		sink->HandleWindowMoved(id, leftTop);

	// A wake-up is an event in SDL's queue, so one that came before the
	// wait ends it at once.
	SDL_Event event;
	int		  waitMs = timeout >= B_INFINITE_TIMEOUT
			  ? -1
			  : (int)std::min<bigtime_t>(timeout / 1000, INT_MAX);
	bool	  waited = SDL_WaitEventTimeout(&event, waitMs);
	if (fSystem->AfterWait()) {
		std::lock_guard<std::mutex> guard(fLock);
		for (auto& [id, screen] : fScreens)
			screen.dirty = true;
	}
	if (waited) {
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
