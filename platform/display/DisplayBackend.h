#ifndef _KX_DISPLAY_BACKEND_H
#define _KX_DISPLAY_BACKEND_H

// The one seam between the platform and a screen. Window threads call the
// window methods (they never block on the main thread); only the main
// thread, inside BApplication::Run(), calls Open, Pump and Close.

#include <Bitmap.h>
#include <OS.h>
#include <Point.h>
#include <Rect.h>

#include <private/LaunchToken.h>

namespace BPrivate {

// Receives raw input on the main thread, in screen coordinates.
class InputSink {
public:
	virtual ~InputSink();
	virtual void HandlePointer(BPoint screen, uint32 buttons) = 0;
	virtual void HandleCloseRequest(int32 windowId) = 0;
	virtual void HandleWindowMoved(int32 windowId, BPoint screenLeftTop) = 0;
	virtual void HandleExposed(int32 windowId) = 0;
	// A key went down in the window that has the keyboard (-1: the front
	// window); bytes is the character it types, as UTF-8.
	virtual void HandleKey(
		int32 windowId, const char* bytes, int32 key, uint32 modifiers) = 0;
};

struct WindowSpec {
	BRect		frame; // content area in screen coordinates
	const char* title;
	uint32		flags;
	bool		modal;
};

class DisplayBackend {
public:
	virtual ~DisplayBackend();

	// Main thread. B_OK, or an error when no screen can be had.
	virtual status_t Open() = 0;
	virtual void	 Close() = 0;
	// Main thread: waits up to timeout microseconds (B_INFINITE_TIMEOUT:
	// with no limit) for input or Wake(), hands pending input to the sink
	// and brings the screen up to date. A Wake() that came before the wait
	// ends it at once.
	virtual void	 Pump(InputSink* sink, bigtime_t timeout) = 0;
	// Any thread: makes a waiting Pump return soon.
	virtual void	 Wake() = 0;

	// Any thread.
	virtual void	 AddWindow(int32 id, const WindowSpec& spec) = 0;
	virtual void	 RemoveWindow(int32 id) = 0;
	virtual void	 SetVisible(int32 id, bool visible) = 0;
	virtual void	 Raise(int32 id) = 0;
	// Raises the window for a later start of the application, whose launch
	// token lets the window system give it the focus.
	virtual void
	RaiseForLaunch(int32 id, const LaunchToken&)
	{
		Raise(id);
	}
	virtual void MoveWindow(int32 id, BPoint screenLeftTop) = 0;
	// Copies the dirty part of the window's surface for the screen.
	virtual void Present(int32 id, const BBitmap* surface, BRect dirty) = 0;
	// Shows a copy of the image under the pointer, the pointer at offset
	// in it; null removes it.
	virtual void SetDragImage(const BBitmap* image, BPoint offset) = 0;
};

// The backend in use. Unless one was installed, the first call makes the
// SDL backend.
DisplayBackend* Display();
void			SetDisplay(DisplayBackend* backend);

// Any thread, and safe in a signal handler: asks the application to quit as
// its own Quit command would, once its loop next looks.
void			AskToQuit();

} // namespace BPrivate

#endif
