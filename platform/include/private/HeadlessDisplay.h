#ifndef _KX_HEADLESS_DISPLAY_H
#define _KX_HEADLESS_DISPLAY_H

// A screen in memory, for tests: they move, press and release the pointer
// and read back what each window has put on the screen.

#include <Bitmap.h>
#include <InterfaceDefs.h>

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "display/DisplayBackend.h"

class BWindow;

namespace BPrivate {

class HeadlessDisplay : public DisplayBackend {
public:
	HeadlessDisplay();
	~HeadlessDisplay() override;

	// Makes this the display of the process (the previous one is forgotten).
	void   Install();

	// Test side: input, queued for the application's loop.
	void   MovePointer(BPoint screen);
	void   Press(uint32 buttons = B_PRIMARY_MOUSE_BUTTON);
	void   Release();
	void   RequestClose(BWindow* window);
	// A key press: the character it types (B_FUNCTION_KEY for a function
	// key), its key code and the modifiers held. It goes to the window
	// given, or to the front window.
	void   TypeKey(char byte, int32 key = 0, uint32 modifiers = 0,
		  BWindow* window = nullptr);
	// Moves the pointer to a point of a window's content and presses there.
	BPoint WindowToScreen(BWindow* window, BPoint point);
	// Waits (up to 10 s of real time) until the application's loop has
	// handed every queued input to the windows; false on time-out.
	bool   WaitForInput();

	// Test side: the screen.
	bool   IsVisible(BWindow* window);
	// A copy of what the window last presented; null if it never did.
	std::unique_ptr<BBitmap> Snapshot(BWindow* window);
	uint32		PixelAt(BWindow* window, int32 x, int32 y); // 0xAARRGGBB
	int32		CountPresents(BWindow* window);
	bool		DragImageShown();
	std::string Title(BWindow* window);
	int32		CountRaises(BWindow* window);
	// How often the application's loop was asked to wake up.
	int64		CountWakes();
	// Waits (up to 10 s of real time) until the application's loop waits
	// for input; the longest it would wait then, in microseconds (0 when it
	// did not wait).
	bigtime_t	WaitForIdleLoop();

	// DisplayBackend.
	status_t	Open() override;
	void		Close() override;
	void		Pump(InputSink* sink, bigtime_t timeout) override;
	void		Wake() override;
	void		AddWindow(int32 id, const WindowSpec& spec) override;
	void		RemoveWindow(int32 id) override;
	void		SetVisible(int32 id, bool visible) override;
	void		Raise(int32 id) override;
	void		MoveWindow(int32 id, BPoint screenLeftTop) override;
	void		Present(int32 id, const BBitmap* surface, BRect dirty) override;
	void		SetDragImage(const BBitmap* image, BPoint offset) override;

private:
	struct Screen {
		std::string				 title;
		BRect					 frame;
		bool					 visible = false;
		int32					 presents = 0;
		int32					 raises = 0;
		std::unique_ptr<BBitmap> pixels;
	};
	struct Input {
		enum {
			POINTER,
			CLOSE,
			KEY
		} kind;
		BPoint where;
		uint32 buttons;
		int32  window;
		char   byte = 0;
		int32  key = 0;
		uint32 modifiers = 0;
	};

	// The Desktop calls the display with its own lock held, so the window's
	// id is looked up before the display's lock is taken, never under it.
	Screen*					_ScreenOf(int32 id);

	std::mutex				fLock;
	std::condition_variable fChanged;
	std::map<int32, Screen> fScreens;
	std::deque<Input>		fInput;
	int64					fQueued = 0;
	int64					fHandled = 0;
	bool					fWoken = false;
	int64					fWakes = 0;
	bigtime_t				fWaitingFor = 0;
	BPoint					fPointer;
	uint32					fButtons = 0;
	bool					fDragShown = false;
};

} // namespace BPrivate

#endif
