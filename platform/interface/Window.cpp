#include <Window.h>

#include <AppDefs.h>
#include <Application.h>
#include <Bitmap.h>
#include <MenuBar.h>
#include <View.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include <private/LaunchRendezvous.h>

#include "Desktop.h"
#include "display/DisplayBackend.h"

using BPrivate::Desktop;
using BPrivate::Display;

namespace {

// The window's own top view: it fills the window and holds its children.
class TopView : public BView {
public:
	explicit TopView(BRect frame) :
		BView(frame, "top view", B_FOLLOW_ALL, B_WILL_DRAW)
	{
		SetViewColor(216, 216, 216);
	}
};

window_look
LookFor(window_type type)
{
	switch (type) {
		case B_MODAL_WINDOW:
			return B_MODAL_WINDOW_LOOK;
		case B_DOCUMENT_WINDOW:
			return B_DOCUMENT_WINDOW_LOOK;
		case B_BORDERED_WINDOW:
			return B_BORDERED_WINDOW_LOOK;
		case B_FLOATING_WINDOW:
			return B_FLOATING_WINDOW_LOOK;
		case B_UNTYPED_WINDOW:
			return B_NO_BORDER_WINDOW_LOOK;
		default:
			return B_TITLED_WINDOW_LOOK;
	}
}

window_feel
FeelFor(window_type type)
{
	return type == B_MODAL_WINDOW ? B_MODAL_APP_WINDOW_FEEL
								  : B_NORMAL_WINDOW_FEEL;
}

} // namespace

BWindow::BWindow(BRect frame, const char* title, window_type type, uint32 flags,
	uint32 workspace) :
	BLooper(title)
{
	_Init(frame, title, LookFor(type), FeelFor(type), flags, workspace, type);
}

BWindow::BWindow(BRect frame, const char* title, window_look look,
	window_feel feel, uint32 flags, uint32 workspace) :
	BLooper(title)
{
	_Init(frame, title, look, feel, flags, workspace, B_UNTYPED_WINDOW);
}

void
BWindow::_Init(BRect frame, const char* title, window_look look,
	window_feel feel, uint32 flags, uint32 workspace, window_type type)
{
	fTitle = title != nullptr ? title : "";
	fType = type;
	fLook = look;
	fFeel = feel;
	fFlags = flags;
	fWorkspaces = workspace;
	fShowLevel = 0;
	fActive = false;
	fFrame = frame;
	fDirty = BRect();
	fUpdatePending = false;
	fMouseView = nullptr;
	fFocus = nullptr;
	fLeftScreen = false;
	// Made when the window is first drawn while shown: a window that is
	// never shown, such as a dialog kept ready, costs no pixels.
	fSurface = nullptr;
	fTopView = new TopView(Bounds());
	fTopView->_SetWindow(this);

	bool modal = feel == B_MODAL_APP_WINDOW_FEEL
		|| feel == B_MODAL_ALL_WINDOW_FEEL
		|| feel == B_MODAL_SUBSET_WINDOW_FEEL;
	fDisplayId = Desktop::Default()->AddWindow(this, frame, modal);
	Display()->AddWindow(fDisplayId,
		BPrivate::WindowSpec { frame, fTitle.c_str(), flags, modal });
}

BWindow::~BWindow()
{
	_LeaveScreen();
	delete fTopView;
	delete fSurface;
}

void
BWindow::_LeaveScreen()
{
	if (fLeftScreen)
		return;
	fLeftScreen = true;
	// The desktop last: once the window is off it, the application's loop
	// may end and the display go, so nothing shared is touched after it.
	Display()->RemoveWindow(fDisplayId);
	Desktop::Default()->RemoveWindow(this);
}

void
BWindow::_LoopEnded()
{
	// Leave the screen before anything of the window goes.
	_LeaveScreen();
	BLooper::_LoopEnded();
}

thread_id
BWindow::Run()
{
	return BLooper::Run();
}

void
BWindow::Show()
{
	bool becameVisible;
	{
		std::lock_guard<std::mutex> guard(fStateLock);
		fShowLevel++;
		becameVisible = fShowLevel == 1;
	}
	if (!IsRunning() && Thread() < 0)
		Run();
	if (becameVisible) {
		Desktop::Default()->SetVisible(this, true);
		Display()->SetVisible(fDisplayId, true);
		_Invalidate(Bounds());
		fActive = true;
	}
}

void
BWindow::Hide()
{
	bool becameHidden;
	{
		std::lock_guard<std::mutex> guard(fStateLock);
		fShowLevel--;
		becameHidden = fShowLevel == 0;
	}
	if (becameHidden) {
		Desktop::Default()->SetVisible(this, false);
		Display()->SetVisible(fDisplayId, false);
		fActive = false;
	}
}

bool
BWindow::IsHidden() const
{
	std::lock_guard<std::mutex> guard(fStateLock);
	return fShowLevel <= 0;
}

void
BWindow::Quit()
{
	BLooper::Quit();
}

bool
BWindow::QuitRequested()
{
	return true;
}

void
BWindow::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (message->WasDropped()) {
		// A dropped message goes to the view under the drop point.
		BPoint where = ConvertFromScreen(message->DropPoint());
		BView* view = FindView(where);
		if (view != nullptr && view != fTopView)
			view->MessageReceived(message);
		else
			MessageReceived(message);
		return;
	}
	switch (message->what) {
		case _UPDATE_:
			_Update();
			return;
		case B_MOUSE_DOWN:
		case B_MOUSE_UP:
		case B_MOUSE_MOVED:
			_HandleMouse(message);
			return;
		case B_KEY_DOWN:
			_HandleKeyDown(message);
			return;
		case B_SILENT_RELAUNCH: {
			// A later copy asked for this window; it waits for the word
			// that the window came forward. Its launch token lets the
			// window system give this window the focus.
			BPrivate::LaunchToken token;
			const char*			  value;
			if (message->FindString("kx:activation", &value) == B_OK)
				token.activation = value;
			if (message->FindString("kx:startup-id", &value) == B_OK)
				token.startupId = value;
			_Activate(&token);
			int32 request;
			if (message->FindInt32("kx:request", &request) == B_OK)
				BPrivate::AnswerRelaunch(request);
			return;
		}
		default:
			BLooper::DispatchMessage(message, handler);
	}
}

void
BWindow::MessageReceived(BMessage* message)
{
	BLooper::MessageReceived(message);
}

void
BWindow::_HandleMouse(BMessage* message)
{
	BPoint where;
	message->FindPoint("where", &where);
	BView* view = fMouseView;
	if (view == nullptr || message->what == B_MOUSE_DOWN)
		view = FindView(where);
	if (view == nullptr)
		return;
	BPoint local = view->ConvertFromWindow(where);
	switch (message->what) {
		case B_MOUSE_DOWN:
			fMouseView = view;
			view->MouseDown(local);
			break;
		case B_MOUSE_UP:
			fMouseView = nullptr;
			view->MouseUp(local);
			break;
		default:
			view->MouseMoved(local,
				view->Bounds().Contains(local) ? B_INSIDE_VIEW : B_OUTSIDE_VIEW,
				nullptr);
			break;
	}
}

void
BWindow::_HandleKeyDown(BMessage* message)
{
	const char* bytes;
	if (message->FindString("bytes", &bytes) != B_OK || bytes[0] == '\0')
		return;
	int32 key = 0;
	message->FindInt32("key", &key);
	// An open menu takes every key, and F10 opens one.
	BMenuBar* bar = KeyMenuBar();
	if (bar != nullptr && bar->_KeyDown(bytes[0], key))
		return;
	if (fFocus != nullptr) {
		fFocus->KeyDown(bytes, (int32)strlen(bytes));
		return;
	}
	if (bytes[0] == B_TAB) {
		int32 modifiers = 0;
		message->FindInt32("modifiers", &modifiers);
		if ((modifiers & (B_CONTROL_KEY | B_COMMAND_KEY)) == 0)
			_Navigate((modifiers & B_SHIFT_KEY) != 0);
		return;
	}
	MessageReceived(message);
}

BView*
BWindow::CurrentFocus() const
{
	return fFocus;
}

BMenuBar*
BWindow::KeyMenuBar() const
{
	for (int32 i = 0; i < fTopView->CountChildren(); i++) {
		if (BMenuBar* bar = dynamic_cast<BMenuBar*>(fTopView->ChildAt(i)))
			return bar;
	}
	return nullptr;
}

void
BWindow::_SetFocus(BView* view)
{
	if (view == fFocus)
		return;
	// Both redraw: the focus mark moves from one to the other.
	if (fFocus != nullptr)
		fFocus->Invalidate();
	fFocus = view;
	if (fFocus != nullptr)
		fFocus->Invalidate();
}

void
BWindow::_ForgetFocus(BView* view)
{
	for (BView* focus = fFocus; focus != nullptr; focus = focus->Parent()) {
		if (focus == view) {
			fFocus = nullptr;
			return;
		}
	}
}

static void
CollectNavigable(BView* view, std::vector<BView*>& views)
{
	for (int32 i = 0; i < view->CountChildren(); i++) {
		BView* child = view->ChildAt(i);
		if ((child->Flags() & B_NAVIGABLE) != 0)
			views.push_back(child);
		CollectNavigable(child, views);
	}
}

void
BWindow::_Navigate(bool backward)
{
	std::vector<BView*> views;
	CollectNavigable(fTopView, views);
	if (views.empty())
		return;
	size_t count = views.size();
	auto   it = std::find(views.begin(), views.end(), fFocus);
	size_t index;
	if (it == views.end())
		index = backward ? count - 1 : 0;
	else if (backward)
		index = ((size_t)(it - views.begin()) + count - 1) % count;
	else
		index = ((size_t)(it - views.begin()) + 1) % count;
	views[index]->MakeFocus(true);
}

void
BWindow::Activate(bool active)
{
	if (!active) {
		fActive = false;
		return;
	}
	_Activate(nullptr);
}

void
BWindow::_Activate(const BPrivate::LaunchToken* token)
{
	// Behind a shown modal window it stays where it is, on the screen too.
	if (!Desktop::Default()->Activate(this))
		return;
	fActive = true;
	if (token != nullptr)
		Display()->RaiseForLaunch(fDisplayId, *token);
	else
		Display()->Raise(fDisplayId);
}

bool
BWindow::IsActive() const
{
	return fActive;
}

bool
BWindow::IsFront() const
{
	return Desktop::Default()->FrontWindow() == this;
}

void
BWindow::AddChild(BView* view, BView* before)
{
	fTopView->AddChild(view, before);
}

bool
BWindow::RemoveChild(BView* view)
{
	return fTopView->RemoveChild(view);
}

int32
BWindow::CountChildren() const
{
	return fTopView->CountChildren();
}

BView*
BWindow::ChildAt(int32 index) const
{
	return fTopView->ChildAt(index);
}

BView*
BWindow::FindView(const char* name) const
{
	return fTopView->FindView(name);
}

BView*
BWindow::FindView(BPoint point) const
{
	if (!Bounds().Contains(point))
		return nullptr;
	BView* view = fTopView;
	// The last child added lies on top.
	for (bool descended = true; descended;) {
		descended = false;
		for (int32 i = view->CountChildren() - 1; i >= 0; i--) {
			BView* child = view->ChildAt(i);
			if (child->ConvertToWindow(child->Bounds()).Contains(point)) {
				view = child;
				descended = true;
				break;
			}
		}
	}
	return view;
}

BRect
BWindow::Frame() const
{
	std::lock_guard<std::mutex> guard(fStateLock);
	return fFrame;
}

BRect
BWindow::Bounds() const
{
	std::lock_guard<std::mutex> guard(fStateLock);
	return BRect(0, 0, fFrame.Width(), fFrame.Height());
}

void
BWindow::MoveTo(BPoint leftTop)
{
	_FrameMoved(leftTop);
	Desktop::Default()->SetFrame(this, Frame());
	Display()->MoveWindow(fDisplayId, leftTop);
}

void
BWindow::_FrameMoved(BPoint leftTop)
{
	std::lock_guard<std::mutex> guard(fStateLock);
	fFrame.OffsetTo(leftTop);
}

const char*
BWindow::Title() const
{
	return fTitle.c_str();
}

void
BWindow::SetTitle(const char* title)
{
	fTitle = title != nullptr ? title : "";
}

window_type
BWindow::Type() const
{
	return fType;
}

window_look
BWindow::Look() const
{
	return fLook;
}

window_feel
BWindow::Feel() const
{
	return fFeel;
}

uint32
BWindow::Flags() const
{
	return fFlags;
}

uint32
BWindow::Workspaces() const
{
	return fWorkspaces;
}

void
BWindow::_Invalidate(BRect rect)
{
	bool post = false;
	{
		std::lock_guard<std::mutex> guard(fStateLock);
		rect = rect & BRect(0, 0, fFrame.Width(), fFrame.Height());
		if (!rect.IsValid())
			return;
		fDirty = fDirty | rect;
		if (!fUpdatePending) {
			fUpdatePending = true;
			post = true;
		}
	}
	if (post)
		PostMessage(_UPDATE_);
}

void
BWindow::_Expose()
{
	_Invalidate(Bounds());
}

void
BWindow::UpdateIfNeeded()
{
	if (find_thread(nullptr) != Thread() && !IsLocked())
		return;
	_Update();
}

void
BWindow::_Update()
{
	BRect dirty;
	{
		std::lock_guard<std::mutex> guard(fStateLock);
		dirty = fDirty;
		fDirty = BRect();
		fUpdatePending = false;
	}
	if (!dirty.IsValid())
		return;
	if (fSurface == nullptr) {
		// Showing redraws the whole window, so nothing is lost by not
		// drawing before then.
		if (IsHidden())
			return;
		fSurface = new BBitmap(Bounds(), B_RGB32);
	}
	_DrawView(fTopView, dirty, Bounds());
	Display()->Present(fDisplayId, fSurface, dirty);
}

void
BWindow::_DrawView(BView* view, BRect dirty, BRect parentClip)
{
	BRect visible = view->ConvertToWindow(view->Bounds()) & parentClip;
	BRect clip = visible & dirty;
	if (!clip.IsValid())
		return;
	view->_SetUpdateClip(clip);
	rgb_color color = view->ViewColor();
	if (color != B_TRANSPARENT_32_BIT) {
		rgb_color	 high = view->HighColor();
		drawing_mode mode = view->DrawingMode();
		view->SetHighColor(color);
		view->SetDrawingMode(B_OP_COPY);
		view->FillRect(view->ConvertFromWindow(clip));
		view->SetHighColor(high);
		view->SetDrawingMode(mode);
	}
	view->Draw(view->ConvertFromWindow(clip));
	view->_ClearUpdateClip();
	for (int32 i = 0; i < view->CountChildren(); i++)
		_DrawView(view->ChildAt(i), dirty, visible);
}

void
BWindow::Flush() const
{
	Display()->Present(fDisplayId, fSurface, Bounds());
}

void
BWindow::Sync() const
{
	Flush();
}

BPoint
BWindow::ConvertToScreen(BPoint point) const
{
	return point + Frame().LeftTop();
}

BPoint
BWindow::ConvertFromScreen(BPoint point) const
{
	return point - Frame().LeftTop();
}

BRect
BWindow::ConvertToScreen(BRect rect) const
{
	return rect.OffsetByCopy(Frame().LeftTop());
}

BRect
BWindow::ConvertFromScreen(BRect rect) const
{
	BPoint origin = Frame().LeftTop();
	return rect.OffsetByCopy(BPoint(-origin.x, -origin.y));
}

const BBitmap*
BWindow::Surface() const
{
	return fSurface;
}
