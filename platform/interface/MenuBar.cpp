#include <MenuBar.h>

#include <Window.h>

#include "interface/ControlLook.h"
#include "interface/MenuTracker.h"

using BPrivate::MenuTracker;

BMenuBar::BMenuBar(BRect frame, const char* name, uint32 resizingMode,
	menu_layout layout, bool resizeToFit) :
	BMenu(frame, name, resizingMode, B_WILL_DRAW, layout),
	fResizeToFit(resizeToFit),
	fTracker(new MenuTracker(this))
{
	if (resizeToFit) {
		// As tall as a line of the bar's font needs.
		float width;
		float height;
		GetPreferredSize(&width, &height);
		ResizeTo(frame.Width(), height);
	}
}

BMenuBar::~BMenuBar()
{
	if (Parent() != nullptr)
		fTracker->Close();
	if (fTracker->Parent() != nullptr) {
		// The window is taking down all its views, the tracker among them.
		fTracker->Orphan();
	} else {
		delete fTracker;
	}
}

void
BMenuBar::AttachedToWindow()
{
	BMenu::AttachedToWindow();
	if (fResizeToFit)
		ResizeTo(Window()->Bounds().Width() - Frame().left, Bounds().Height());
}

void
BMenuBar::DetachedFromWindow()
{
	fTracker->Close();
	BMenu::DetachedFromWindow();
}

void
BMenuBar::Draw(BRect updateRect)
{
	BMenu::Draw(updateRect);
	BRect bounds = Bounds();
	SetHighColor(BPrivate::kLightEdgeColor);
	StrokeLine(bounds.LeftTop(), bounds.RightTop());
	SetHighColor(BPrivate::kShadowColor);
	StrokeLine(bounds.LeftBottom(), bounds.RightBottom());
}

void
BMenuBar::MouseDown(BPoint where)
{
	fTracker->Open(_ItemIndexAt(where));
}

void
BMenuBar::MouseMoved(BPoint where, uint32, const BMessage*)
{
	fTracker->Moved(ConvertToWindow(where));
}

void
BMenuBar::MouseUp(BPoint where)
{
	fTracker->Released(ConvertToWindow(where));
}

bool
BMenuBar::_KeyDown(char byte, int32 key)
{
	if (fTracker->IsOpen()) {
		fTracker->KeyPressed(byte, key);
		return true;
	}
	if (byte == B_FUNCTION_KEY && key == B_F10_KEY) {
		fTracker->OpenFromKeyboard(0);
		return true;
	}
	return false;
}
