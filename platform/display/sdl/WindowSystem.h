#ifndef _KX_WINDOW_SYSTEM_H
#define _KX_WINDOW_SYSTEM_H

// What differs between the window systems under SDL: how a window is framed
// and kept in front of the one it blocks, how dense the screen is, how a
// window takes the focus for a later start, how a lost connection ends the
// game, and, where SDL has no window surface of its own, how a frame reaches
// the screen. The SDL display keeps one while it is open and calls it on the
// main thread only. This base is plain SDL, for drivers without specifics.

#include <SupportDefs.h>

#include <private/LaunchToken.h>

struct SDL_Surface;
struct SDL_Window;

namespace BPrivate {

// What a window asks of the window system.
struct WindowTraits {
	uint32 flags; // B_NOT_RESIZABLE and the like
	bool   modal; // blocks the application's other windows while shown
	int32  width; // the content, in the application's pixels
	int32  height;
};

class WindowSystem {
public:
	virtual ~WindowSystem();

	// Once SDL's video runs; own is the process's own launch token.
	virtual void  Started(const LaunchToken& own);
	// Screen pixels per pixel of the application in window sizes,
	// positions and pointer coordinates.
	virtual int32 WindowScale();
	// The same in the frames drawn for the window.
	virtual int32 FrameScale(SDL_Window* window);
	// False where the window system keeps where windows are to itself.
	virtual bool  KnowsPositions();

	// Before every showing of the window, and right after it; parent is
	// the shown window a modal window blocks, or null.
	virtual void  WillShow(
		 SDL_Window* window, const WindowTraits& traits, SDL_Window* parent);
	virtual void DidShow(
		SDL_Window* window, const WindowTraits& traits, SDL_Window* parent);
	// Brings the window forward for a later start with that token.
	virtual void		 Activate(SDL_Window* window, const LaunchToken& token);
	// The window that a shown modal window blocks was pressed or took the
	// focus.
	virtual void		 KeepInFront(SDL_Window* modal);
	virtual void		 WindowGone(SDL_Window* window);

	// Where the window's next frame is drawn, in screen pixels of the
	// frame scale; ShowFrame puts it on the screen. Null when there is
	// nowhere to draw it.
	virtual SDL_Surface* FrameSurface(
		SDL_Window* window, int32 width, int32 height);
	virtual void ShowFrame(SDL_Window* window);

	// After every wait for input: handles the window system's own events
	// and says whether every window needs drawing anew (a screen's scale
	// changed). A connection that is gone ends the game with one line on
	// standard error and status 1.
	virtual bool AfterWait();
};

// Before SDL's video starts, whichever driver it takes: SDL's own X error
// handler passes errors on to the one set first, and puts that one back,
// not Xlib's, when it closes its connections.
void		  InstallX11ErrorHandler();
WindowSystem* CreateX11WindowSystem();
WindowSystem* CreateWaylandWindowSystem();

} // namespace BPrivate

#endif
