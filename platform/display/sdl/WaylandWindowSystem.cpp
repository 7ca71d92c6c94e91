// The Wayland side of the SDL display. SDL makes the windows, frames them and
// brings their input; what it does not do is done here, on its connection
// with objects of our own in an event queue of our own: the frames reach the
// compositor as buffers drawn at the whole-number scale of the screen the
// window is on (SDL 2.26 has no window surface on Wayland, and its own
// scaling draws a fractional scale at a fractional size), a window comes
// forward with a launch token through xdg_activation_v1, and a compositor
// that goes away ends the game as a lost X server does.

#include "display/sdl/WindowSystem.h"

#include "display/sdl/LostDisplay.h"
#include "display/sdl/VideoDriverChoice.h"
#include "display/sdl/WaylandBuffer.h"

#include <InterfaceDefs.h>

#include <SDL.h>
#include <SDL_syswm.h>
#include <wayland-client.h>
#include <xdg-activation-v1-client-protocol.h>
#include <xdg-output-unstable-v1-client-protocol.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <map>
#include <poll.h>
#include <time.h>
#include <string>
#include <vector>

namespace BPrivate {

namespace {

// Beyond this a screen's scale is taken for nonsense.
const int32 kMaxScale = 8;
// How long a compositor has to answer before the game looks elsewhere: one
// that hangs must not hold the start for ever, one on a busy machine may be
// slow to answer.
const int	kProbeTimeoutMs = 3000;

struct Output {
	uint32			name;
	wl_output*		output;
	zxdg_output_v1* logical;
	int32			x; // where it lies among the screens, as SDL counts
	int32			y;
	int32			scale;
};

// The buffers of one window; the last one handed out is drawn into.
struct WindowFrames {
	std::vector<WaylandBuffer*> buffers;
	WaylandBuffer*				drawing = nullptr;
	int32						scale = 1; // of the one drawn into
};

wl_surface*
SurfaceOf(SDL_Window* window, wl_display** display)
{
	SDL_SysWMinfo info;
	SDL_VERSION(&info.version);
	if (window == nullptr || !SDL_GetWindowWMInfo(window, &info)
		|| info.subsystem != SDL_SYSWM_WAYLAND)
		return nullptr;
	if (display != nullptr)
		*display = info.info.wl.display;
	return info.info.wl.surface;
}

} // namespace

class WaylandWindowSystem : public WindowSystem {
public:
	~WaylandWindowSystem() override;

	void  Started(const LaunchToken& own) override;
	int32 FrameScale(SDL_Window* window) override;
	bool  KnowsPositions() override;
	void  DidShow(SDL_Window* window, const WindowTraits& traits,
		 SDL_Window* parent) override;
	void  Activate(SDL_Window* window, const LaunchToken& token) override;
	void  WindowGone(SDL_Window* window) override;
	SDL_Surface* FrameSurface(
		SDL_Window* window, int32 width, int32 height) override;
	void	ShowFrame(SDL_Window* window) override;
	bool	AfterWait() override;

	// The listeners' ends.
	void	AddGlobal(wl_registry* registry, uint32 name, const char* interface,
		   uint32 version);
	void	RemoveGlobal(uint32 name);
	void	WatchLogicalPosition(Output& output);
	Output* OutputFor(void* proxy);
	bool	scalesChanged = false;

private:
	bool			_Connect(SDL_Window* window);
	void			_Activate(wl_surface* surface, const std::string& token);

	wl_display*		fDisplay = nullptr;
	wl_event_queue* fQueue = nullptr;
	wl_registry*	fRegistry = nullptr;
	wl_shm*			fShm = nullptr;
	zxdg_output_manager_v1*				fOutputManager = nullptr;
	xdg_activation_v1*					fActivation = nullptr;
	std::vector<Output>					fOutputs;
	std::map<SDL_Window*, WindowFrames> fFrames;
	std::string							fOwnToken;
};

namespace {

void
OutputGeometry(void* data, wl_output* proxy, int32 x, int32 y, int32, int32,
	int32, const char*, const char*, int32)
{
	Output* output = static_cast<WaylandWindowSystem*>(data)->OutputFor(proxy);
	// Without xdg-output SDL places the screens as the geometry says.
	if (output != nullptr && output->logical == nullptr) {
		output->x = x;
		output->y = y;
	}
}

void
OutputMode(void*, wl_output*, uint32, int32, int32, int32)
{ }

void
OutputDone(void*, wl_output*)
{ }

void
OutputScale(void* data, wl_output* proxy, int32 scale)
{
	WaylandWindowSystem* system = static_cast<WaylandWindowSystem*>(data);
	Output*				 output = system->OutputFor(proxy);
	if (output != nullptr && output->scale != scale) {
		output->scale = scale;
		system->scalesChanged = true;
	}
}

const wl_output_listener kOutputListener = { OutputGeometry, OutputMode,
	OutputDone, OutputScale, nullptr, nullptr };

void
LogicalPosition(void* data, zxdg_output_v1* proxy, int32 x, int32 y)
{
	Output* output = static_cast<WaylandWindowSystem*>(data)->OutputFor(proxy);
	if (output != nullptr) {
		output->x = x;
		output->y = y;
	}
}

void
LogicalSize(void*, zxdg_output_v1*, int32, int32)
{ }

void
LogicalDone(void*, zxdg_output_v1*)
{ }

void
LogicalName(void*, zxdg_output_v1*, const char*)
{ }

const zxdg_output_v1_listener kLogicalListener = { LogicalPosition, LogicalSize,
	LogicalDone, LogicalName, LogicalName };

void
Global(void* data, wl_registry* registry, uint32 name, const char* interface,
	uint32 version)
{
	static_cast<WaylandWindowSystem*>(data)->AddGlobal(
		registry, name, interface, version);
}

void
GlobalRemoved(void* data, wl_registry*, uint32 name)
{
	static_cast<WaylandWindowSystem*>(data)->RemoveGlobal(name);
}

const wl_registry_listener kRegistryListener = { Global, GlobalRemoved };

} // namespace

WaylandWindowSystem::~WaylandWindowSystem()
{
	for (auto& [window, frames] : fFrames) {
		for (WaylandBuffer* buffer : frames.buffers)
			delete buffer;
	}
	for (Output& output : fOutputs) {
		if (output.logical != nullptr)
			zxdg_output_v1_destroy(output.logical);
		wl_output_destroy(output.output);
	}
	if (fOutputManager != nullptr)
		zxdg_output_manager_v1_destroy(fOutputManager);
	if (fActivation != nullptr)
		xdg_activation_v1_destroy(fActivation);
	if (fShm != nullptr)
		wl_shm_destroy(fShm);
	if (fRegistry != nullptr)
		wl_registry_destroy(fRegistry);
	if (fQueue != nullptr)
		wl_event_queue_destroy(fQueue);
}

void
WaylandWindowSystem::Started(const LaunchToken& own)
{
	PrepareLostDisplayLine(LOST_WAYLAND_COMPOSITOR, getenv("WAYLAND_DISPLAY"));
	fOwnToken = own.activation;
}

// SDL's connection is known once it has a window.
bool
WaylandWindowSystem::_Connect(SDL_Window* window)
{
	if (fDisplay != nullptr)
		return true;
	wl_display* display;
	if (SurfaceOf(window, &display) == nullptr)
		return false;
	fDisplay = display;
	fQueue = wl_display_create_queue(fDisplay);
	wl_display* wrapper =
		static_cast<wl_display*>(wl_proxy_create_wrapper(fDisplay));
	wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), fQueue);
	fRegistry = wl_display_get_registry(wrapper);
	wl_proxy_wrapper_destroy(wrapper);
	wl_registry_add_listener(fRegistry, &kRegistryListener, this);
	// The globals, then what the screens say of themselves.
	wl_display_roundtrip_queue(fDisplay, fQueue);
	wl_display_roundtrip_queue(fDisplay, fQueue);
	scalesChanged = false;
	return true;
}

void
WaylandWindowSystem::AddGlobal(
	wl_registry* registry, uint32 name, const char* interface, uint32 version)
{
	if (strcmp(interface, wl_shm_interface.name) == 0 && fShm == nullptr) {
		fShm = static_cast<wl_shm*>(
			wl_registry_bind(registry, name, &wl_shm_interface, 1));
	} else if (strcmp(interface, xdg_activation_v1_interface.name) == 0
		&& fActivation == nullptr) {
		fActivation = static_cast<xdg_activation_v1*>(
			wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
	} else if (strcmp(interface, zxdg_output_manager_v1_interface.name) == 0
		&& fOutputManager == nullptr) {
		fOutputManager = static_cast<zxdg_output_manager_v1*>(wl_registry_bind(
			registry, name, &zxdg_output_manager_v1_interface, 1));
		for (Output& output : fOutputs)
			WatchLogicalPosition(output);
	} else if (strcmp(interface, wl_output_interface.name) == 0
		&& version >= 2) {
		// The scale came with version 2.
		Output output = { name,
			static_cast<wl_output*>(wl_registry_bind(
				registry, name, &wl_output_interface, std::min(version, 3u))),
			nullptr, 0, 0, 1 };
		wl_output_add_listener(output.output, &kOutputListener, this);
		fOutputs.push_back(output);
		WatchLogicalPosition(fOutputs.back());
		scalesChanged = true;
	}
}

void
WaylandWindowSystem::WatchLogicalPosition(Output& output)
{
	if (fOutputManager == nullptr || output.logical != nullptr)
		return;
	output.logical =
		zxdg_output_manager_v1_get_xdg_output(fOutputManager, output.output);
	zxdg_output_v1_add_listener(output.logical, &kLogicalListener, this);
}

void
WaylandWindowSystem::RemoveGlobal(uint32 name)
{
	for (auto it = fOutputs.begin(); it != fOutputs.end(); ++it) {
		if (it->name != name)
			continue;
		if (it->logical != nullptr)
			zxdg_output_v1_destroy(it->logical);
		wl_output_destroy(it->output);
		fOutputs.erase(it);
		scalesChanged = true;
		return;
	}
}

Output*
WaylandWindowSystem::OutputFor(void* proxy)
{
	for (Output& output : fOutputs) {
		if ((void*)output.output == proxy || (void*)output.logical == proxy)
			return &output;
	}
	return nullptr;
}

// The scale of the screen the window is on: SDL moves a window to the screen
// it last entered. A compositor at a fractional scale announces the whole
// number above it and scales the frames down.
int32
WaylandWindowSystem::FrameScale(SDL_Window* window)
{
	if (!_Connect(window))
		return 1;
	int32	 scale = 0;
	int		 index = SDL_GetWindowDisplayIndex(window);
	SDL_Rect bounds;
	if (index >= 0 && SDL_GetDisplayBounds(index, &bounds) == 0) {
		for (const Output& output : fOutputs) {
			if (output.x == bounds.x && output.y == bounds.y)
				scale = std::max(scale, output.scale);
		}
	}
	// Not on a screen yet: the densest there is, as SDL assumes too.
	if (scale == 0) {
		for (const Output& output : fOutputs)
			scale = std::max(scale, output.scale);
	}
	return std::clamp(scale, 1, kMaxScale);
}

bool
WaylandWindowSystem::KnowsPositions()
{
	return false;
}

// A dialog is the child of the window it blocks each time it is shown: a
// toplevel forgets its parent when it is hidden. A window that may not be
// resized says so by the same smallest and largest size, before its first
// frame: SDL 2.26 tells a compositor that draws the frames itself nothing of
// it, and a tiling one would tile it then.
void
WaylandWindowSystem::DidShow(
	SDL_Window* window, const WindowTraits& traits, SDL_Window* parent)
{
	if (parent != nullptr)
		SDL_SetWindowModalFor(window, parent);
	if ((traits.flags & B_NOT_RESIZABLE) != 0)
		SDL_SetWindowMinimumSize(window, traits.width, traits.height);
}

void
WaylandWindowSystem::Activate(SDL_Window* window, const LaunchToken& token)
{
	if (token.activation.empty() || !_Connect(window) || fActivation == nullptr)
		SDL_RaiseWindow(window);
	else
		_Activate(SurfaceOf(window, nullptr), token.activation);
}

void
WaylandWindowSystem::_Activate(wl_surface* surface, const std::string& token)
{
	if (fActivation == nullptr || surface == nullptr)
		return;
	xdg_activation_v1_activate(fActivation, token.c_str(), surface);
	wl_display_flush(fDisplay);
}

void
WaylandWindowSystem::WindowGone(SDL_Window* window)
{
	auto it = fFrames.find(window);
	if (it == fFrames.end())
		return;
	for (WaylandBuffer* buffer : it->second.buffers)
		delete buffer;
	fFrames.erase(it);
}

// A buffer the compositor is done with, of the frame's size; the others of
// another size are no longer needed.
SDL_Surface*
WaylandWindowSystem::FrameSurface(SDL_Window* window, int32 width, int32 height)
{
	if (!_Connect(window))
		return nullptr;
	wl_display_dispatch_queue_pending(fDisplay, fQueue);
	WindowFrames&				frames = fFrames[window];
	std::vector<WaylandBuffer*> kept;
	frames.drawing = nullptr;
	// The size asked is the window's at the scale the display just had from
	// FrameScale; SDL's idea of the window's size may be a compositor's
	// passing suggestion.
	frames.scale = FrameScale(window);
	for (WaylandBuffer* buffer : frames.buffers) {
		if (buffer->Width() != width || buffer->Height() != height) {
			delete buffer;
			continue;
		}
		if (!buffer->busy && frames.drawing == nullptr)
			frames.drawing = buffer;
		kept.push_back(buffer);
	}
	frames.buffers = kept;
	if (frames.drawing == nullptr) {
		frames.drawing = WaylandBuffer::Create(fShm, width, height);
		if (frames.drawing == nullptr)
			return nullptr;
		frames.buffers.push_back(frames.drawing);
	}
	return frames.drawing->Surface();
}

void
WaylandWindowSystem::ShowFrame(SDL_Window* window)
{
	auto		it = fFrames.find(window);
	wl_surface* surface = SurfaceOf(window, nullptr);
	if (it == fFrames.end() || it->second.drawing == nullptr
		|| surface == nullptr)
		return;
	WaylandBuffer* buffer = it->second.drawing;
	wl_surface_attach(surface, buffer->Buffer(), 0, 0);
	wl_surface_set_buffer_scale(surface, it->second.scale);
	wl_surface_damage(surface, 0, 0, buffer->Width(), buffer->Height());
	wl_surface_commit(surface);
	buffer->busy = true;
	it->second.drawing = nullptr;
	// The first window on the screen takes the launcher's token, which ends
	// the launch's busy pointer.
	if (!fOwnToken.empty()) {
		_Activate(surface, fOwnToken);
		fOwnToken.clear();
	}
	wl_display_flush(fDisplay);
}

bool
WaylandWindowSystem::AfterWait()
{
	if (fDisplay == nullptr)
		return false;
	if (wl_display_get_error(fDisplay) != 0)
		EndForLostDisplay();
	wl_display_dispatch_queue_pending(fDisplay, fQueue);
	bool changed = scalesChanged;
	scalesChanged = false;
	return changed;
}

WindowSystem*
CreateWaylandWindowSystem()
{
	return new WaylandWindowSystem;
}

namespace {

// What the probe's registry saw.
struct Globals {
	bool compositor = false;
	bool shm = false;
	bool shell = false;
	bool seat = false;
	bool decorations = false;
};

void
ProbeGlobal(void* data, wl_registry*, uint32, const char* interface, uint32)
{
	Globals*	globals = static_cast<Globals*>(data);
	std::string name = interface;
	globals->compositor |= name == "wl_compositor";
	globals->shm |= name == "wl_shm";
	globals->shell |= name == "xdg_wm_base";
	globals->seat |= name == "wl_seat";
	globals->decorations |= name == "zxdg_decoration_manager_v1";
}

void
ProbeGlobalRemoved(void*, wl_registry*, uint32)
{ }

const wl_registry_listener kProbeListener = { ProbeGlobal, ProbeGlobalRemoved };

// Whether libdecor has a plugin to draw frames with; without one it shows
// windows bare.
bool
LibdecorCanFrame()
{
	const char* folder = getenv("LIBDECOR_PLUGIN_DIR");
	DIR* plugins = opendir(folder != nullptr ? folder : KX_LIBDECOR_PLUGINS);
	if (plugins == nullptr)
		return false;
	bool found = false;
	while (dirent* entry = readdir(plugins)) {
		std::string name = entry->d_name;
		found |= name.rfind("libdecor-", 0) == 0 && name.size() > 12
			&& name.compare(name.size() - 3, 3, ".so") == 0;
	}
	closedir(plugins);
	return found;
}

void
Synced(void* data, wl_callback*, uint32)
{
	*static_cast<bool*>(data) = true;
}

const wl_callback_listener kSyncListener = { Synced };

int64
NowMs()
{
	timespec now;
	clock_gettime(CLOCK_MONOTONIC, &now);
	return (int64)now.tv_sec * 1000 + now.tv_nsec / 1000000;
}

// Waits for the compositor's answer to everything asked so far, at most for
// the time given: one that hangs must not hold the game's start.
bool
RoundTripWithin(wl_display* display, int timeoutMs)
{
	bool		 done = false;
	wl_callback* sync = wl_display_sync(display);
	wl_callback_add_listener(sync, &kSyncListener, &done);
	int64 deadline = NowMs() + timeoutMs;
	while (!done && wl_display_get_error(display) == 0) {
		wl_display_flush(display);
		if (wl_display_prepare_read(display) != 0) {
			wl_display_dispatch_pending(display);
			continue;
		}
		pollfd entry = { wl_display_get_fd(display), POLLIN, 0 };
		int64  left = deadline - NowMs();
		if (left <= 0 || poll(&entry, 1, (int)left) <= 0) {
			wl_display_cancel_read(display);
			break;
		}
		wl_display_read_events(display);
		wl_display_dispatch_pending(display);
	}
	wl_callback_destroy(sync);
	return done;
}

} // namespace

void
ProbeCompositor(bool* answers, bool* frames)
{
	*answers = *frames = false;
	// A compositor named relative to a runtime folder that is not set cannot
	// be found; the client library would only add a line of its own to the
	// game's message.
	const char* name = getenv("WAYLAND_DISPLAY");
	const char* runtime = getenv("XDG_RUNTIME_DIR");
	if (name != nullptr && name[0] != '/'
		&& (runtime == nullptr || runtime[0] == '\0'))
		return;
	wl_display* display = wl_display_connect(nullptr);
	if (display == nullptr)
		return;
	Globals		 globals;
	wl_registry* registry = wl_display_get_registry(display);
	wl_registry_add_listener(registry, &kProbeListener, &globals);
	if (RoundTripWithin(display, kProbeTimeoutMs)) {
		*answers =
			globals.compositor && globals.shm && globals.shell && globals.seat;
		*frames = globals.decorations || LibdecorCanFrame();
	}
	wl_registry_destroy(registry);
	wl_display_disconnect(display);
}

} // namespace BPrivate
