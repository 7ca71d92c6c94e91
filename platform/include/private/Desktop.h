#ifndef _KX_DESKTOP_H
#define _KX_DESKTOP_H

// The application's view of the screen: its windows in front-to-back order,
// the pointer, mouse capture, modal windows and drag-and-drop. Input from the
// display backend arrives here on the main thread and leaves as messages
// posted to windows.

#include <Message.h>
#include <Point.h>
#include <Rect.h>

#include <condition_variable>
#include <mutex>
#include <vector>

#include "display/DisplayBackend.h"

class BBitmap;
class BWindow;

namespace BPrivate {

class Desktop : public InputSink {
public:
	static Desktop*		  Default();

	int32				  AddWindow(BWindow* window, BRect frame, bool modal);
	// Waits until no other thread holds the window pinned.
	void				  RemoveWindow(BWindow* window);
	// Keeps a window from being deleted while another thread locks it;
	// false when it is already gone.
	bool				  PinWindow(BWindow* window);
	void				  UnpinWindow(BWindow* window);
	void				  SetVisible(BWindow* window, bool visible);
	// Brings the window forward; false when it is not the front window
	// then, because a shown modal window stays in front of it.
	bool				  Activate(BWindow* window);
	void				  SetFrame(BWindow* window, BRect frame);

	int32				  IdOf(const BWindow* window);
	BWindow*			  WindowFor(int32 id);
	// Visible windows, front first.
	std::vector<BWindow*> VisibleWindows();
	std::vector<BWindow*> AllWindows();
	BWindow*			  FrontWindow();
	// The same, pinned (see PinWindow) while the caller uses it; null when
	// no window shows.
	BWindow*			  PinFrontWindow();
	// The window that takes pointer input at the point, if any.
	BWindow*			  WindowAt(BPoint screen);

	void				  GetPointer(BPoint* screen, uint32* buttons);

	// Takes over message and image; the drop goes to the window under the
	// pointer at the next release.
	void StartDrag(BMessage* message, BBitmap* image, BPoint offset);
	bool IsDragging();

	// Input, on the main thread.
	void HandlePointer(BPoint screen, uint32 buttons) override;
	void HandleCloseRequest(int32 id) override;
	void HandleWindowMoved(int32 id, BPoint leftTop) override;
	void HandleExposed(int32 id) override;
	void HandleKey(
		int32 id, const char* bytes, int32 key, uint32 modifiers) override;

	// Forgets the pointer and any drag; for tests that start afresh.
	void Reset();

private:
	struct Entry {
		BWindow* window;
		int32	 id;
		BRect	 frame;
		bool	 visible;
		bool	 modal;
		int32	 pins;
	};

	Entry*	 _Find(const BWindow* window);
	Entry*	 _Find(int32 id);
	void	 _Raise(size_t index);
	BWindow* _WindowAt(BPoint screen);
	void	 _PostMouse(
			BWindow* window, uint32 what, BPoint screen, uint32 buttons);
	void					_EndDrag(BPoint screen);

	std::mutex				fLock;
	std::condition_variable fUnpinned;
	std::vector<Entry>		fWindows; // front first
	int32					fNextId = 1;
	BPoint					fPointer;
	uint32					fButtons = 0;
	BWindow*				fCapture = nullptr;
	BMessage*				fDragMessage = nullptr;
	BBitmap*				fDragImage = nullptr;
	BPoint					fDragOffset;
};

} // namespace BPrivate

#endif
