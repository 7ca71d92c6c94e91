#ifndef _WINDOW_H
#define _WINDOW_H

#include <InterfaceDefs.h>
#include <Looper.h>
#include <Rect.h>

#include <mutex>
#include <string>

class BBitmap;
class BMenuBar;
class BView;

namespace BPrivate {
struct LaunchToken;
}

// A window: a looper whose thread runs its views' hooks with the window
// locked, and a 32-bit surface of its content size that reaches the screen.
class BWindow : public BLooper {
public:
	BWindow(BRect frame, const char* title, window_type type, uint32 flags,
		uint32 workspace = B_CURRENT_WORKSPACE);
	BWindow(BRect frame, const char* title, window_look look, window_feel feel,
		uint32 flags, uint32 workspace = B_CURRENT_WORKSPACE);
	virtual ~BWindow();

	virtual void Show();
	virtual void Hide();
	bool		 IsHidden() const;
	// Starts the loop; the window stays hidden until Show().
	thread_id	 Run() override;
	void		 Quit() override;
	bool		 QuitRequested() override;

	void		 DispatchMessage(BMessage* message, BHandler* handler) override;
	void		 MessageReceived(BMessage* message) override;

	void		 Activate(bool active = true);
	bool		 IsActive() const;
	bool		 IsFront() const;

	void		 AddChild(BView* view, BView* before = nullptr);
	bool		 RemoveChild(BView* view);
	int32		 CountChildren() const;
	BView*		 ChildAt(int32 index) const;
	BView*		 FindView(const char* name) const;
	// The deepest view under a point in window coordinates.
	BView*		 FindView(BPoint point) const;

	// The view that takes the window's keys; null when the window keeps
	// them itself.
	BView*		 CurrentFocus() const;
	// The menu bar that F10 opens: the first one among the window's views.
	BMenuBar*	 KeyMenuBar() const;

	BRect		 Frame() const;
	BRect		 Bounds() const;
	void		 MoveTo(BPoint leftTop);
	const char*	 Title() const;
	void		 SetTitle(const char* title);
	window_type	 Type() const;
	window_look	 Look() const;
	window_feel	 Feel() const;
	uint32		 Flags() const;
	uint32		 Workspaces() const;

	// Draws what has been invalidated at once, when called on the window's
	// thread or with the window locked.
	void		 UpdateIfNeeded();
	// Hands the finished surface to the screen.
	void		 Flush() const;
	void		 Sync() const;

	BPoint		 ConvertToScreen(BPoint point) const;
	BPoint		 ConvertFromScreen(BPoint point) const;
	BRect		 ConvertToScreen(BRect rect) const;
	BRect		 ConvertFromScreen(BRect rect) const;

	// The window's pixels; the platform and tests read them.
	const BBitmap* Surface() const;

	// For the platform.
	void		   _Invalidate(BRect windowRect);
	void		   _Expose();
	void		   _FrameMoved(BPoint leftTop);
	int32
	_DisplayId() const
	{
		return fDisplayId;
	}
	void _SetFocus(BView* view);
	// The view leaves the window: it and its children lose the focus.
	void _ForgetFocus(BView* view);
	// Moves the focus to the next (or the previous) B_NAVIGABLE view, in
	// the order the views were added, round the end.
	void _Navigate(bool backward);

protected:
	void _LoopEnded() override;

private:
	void		_Init(BRect frame, const char* title, window_look look,
			   window_feel feel, uint32 flags, uint32 workspace, window_type type);
	void		_LeaveScreen();
	void		_Activate(const BPrivate::LaunchToken* token);
	void		_Update();
	void		_DrawView(BView* view, BRect dirty, BRect parentClip);
	void		_HandleMouse(BMessage* message);
	void		_HandleKeyDown(BMessage* message);

	std::string fTitle;
	window_type fType;
	window_look fLook;
	window_feel fFeel;
	uint32		fFlags;
	uint32		fWorkspaces;
	int32		fShowLevel; // shown while above zero
	bool		fActive;
	int32		fDisplayId;
	bool		fLeftScreen;
	BView*		fTopView;
	BBitmap*	fSurface;
	BView*		fMouseView; // the view that took the last press, until release
	BView*		fFocus;

	mutable std::mutex fStateLock; // frame and dirty region
	BRect			   fFrame;
	BRect			   fDirty;
	bool			   fUpdatePending;
};

#endif
