#ifndef _KX_VIDEO_DRIVER_CHOICE_H
#define _KX_VIDEO_DRIVER_CHOICE_H

// Which window system the game talks to, as a desktop user would want it:
// the compositor natively where there is one that answers and frames the
// windows, X11 otherwise, and whatever the user named in SDL_VIDEODRIVER.

namespace BPrivate {

struct DesktopOffer {
	bool driverNamed;		// SDL_VIDEODRIVER names one
	bool x11;				// DISPLAY names an X server
	bool wayland;			// WAYLAND_DISPLAY names a compositor...
	bool compositorAnswers; // ...that answered with what windows need
	bool compositorFrames;	// ...that draws frames, or libdecor can
};

enum video_driver {
	VIDEO_DRIVER_USERS, // the one SDL_VIDEODRIVER names
	VIDEO_DRIVER_X11,
	VIDEO_DRIVER_WAYLAND,
	VIDEO_DRIVER_NONE // no desktop: no window can be seen
};

video_driver ChooseVideoDriver(const DesktopOffer& offer);

// What this process's environment and compositor offer; asks the compositor
// only when the choice depends on it.
DesktopOffer ReadDesktopOffer();

// From the Wayland side (WaylandWindowSystem.cpp): whether the compositor
// that WAYLAND_DISPLAY names answers within a moment with what SDL needs for
// a window (SDL ends the process on one without a seat), and whether its
// windows get frames.
void		 ProbeCompositor(bool* answers, bool* frames);

} // namespace BPrivate

#endif
