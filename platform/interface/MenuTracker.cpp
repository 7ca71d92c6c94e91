#include "interface/MenuTracker.h"

#include <MenuBar.h>
#include <MenuItem.h>
#include <Window.h>

#include <algorithm>

namespace BPrivate {

MenuTracker::MenuTracker(BMenuBar* bar) :
	BView(BRect(0, 0, 0, 0), "menu tracker", B_FOLLOW_ALL, B_WILL_DRAW),
	fBar(bar),
	fMenu(nullptr),
	fTitle(-1),
	fTracking(false),
	fPressedOnTitle(false)
{
	// Only the menu is drawn: the window shows through around it.
	SetViewColor(B_TRANSPARENT_32_BIT);
}

MenuTracker::~MenuTracker()
{
	// The menu belongs to its item, not to the tracker that shows it.
	if (fMenu != nullptr)
		RemoveChild(fMenu);
}

bool
MenuTracker::IsOpen() const
{
	return fMenu != nullptr;
}

BMenu*
MenuTracker::OpenMenu() const
{
	return fMenu;
}

void
MenuTracker::Open(int32 title)
{
	BMenu*	 menu = fBar != nullptr ? fBar->SubmenuAt(title) : nullptr;
	BWindow* window = fBar != nullptr ? fBar->Window() : nullptr;
	if (menu == nullptr || window == nullptr)
		return;
	menu->ResizeToPreferred();
	BRect frame = _MenuFrame(menu, title);
	if (!frame.IsValid())
		return;
	if (fMenu != nullptr) {
		fMenu->_Select(-1);
		RemoveChild(fMenu);
	}
	if (Parent() == nullptr) {
		// Added last, so it lies above every view the window has.
		BRect bounds = window->Bounds();
		ResizeTo(bounds.Width(), bounds.Height());
		window->AddChild(this);
	}
	fMenu = menu;
	fTitle = title;
	menu->_Select(-1);
	menu->MoveTo(frame.LeftTop());
	menu->ResizeTo(frame.Width(), frame.Height());
	AddChild(menu);
	fBar->_Select(title);
	fTracking = true;
	fPressedOnTitle = true;
}

BRect
MenuTracker::_MenuFrame(BMenu* menu, int32 title) const
{
	// Below its title, moved left where it would stick out of the window,
	// and cut to the window where it is larger: it never covers the bar,
	// where the button that opened it is released.
	BRect window = fBar->Window()->Bounds();
	BRect titleFrame = fBar->ConvertToWindow(fBar->_ItemFrame(title));
	float width = std::min(menu->Bounds().Width(), window.Width());
	float left =
		std::max(std::min(titleFrame.left, window.right - width), window.left);
	float top = fBar->ConvertToWindow(fBar->Bounds()).bottom + 1;
	float bottom = std::min(top + menu->Bounds().Height(), window.bottom);
	return BRect(left, top, left + width, bottom);
}

void
MenuTracker::Close()
{
	if (fMenu == nullptr)
		return;
	BMenu* menu = fMenu;
	fMenu = nullptr;
	fTitle = -1;
	fTracking = false;
	fPressedOnTitle = false;
	menu->_Select(-1);
	RemoveChild(menu);
	if (fBar != nullptr)
		fBar->_Select(-1);
	// Leaving the window has it draw again all that lay beneath.
	RemoveSelf();
}

void
MenuTracker::Orphan()
{
	if (fMenu != nullptr)
		RemoveChild(fMenu);
	fMenu = nullptr;
	fBar = nullptr;
	fTracking = false;
}

int32
MenuTracker::_TitleAt(BPoint where) const
{
	return fBar != nullptr ? fBar->_ItemIndexAt(fBar->ConvertFromWindow(where))
						   : -1;
}

int32
MenuTracker::_ItemAt(BPoint where) const
{
	return fMenu != nullptr
		? fMenu->_ItemIndexAt(fMenu->ConvertFromWindow(where))
		: -1;
}

void
MenuTracker::Pressed(BPoint where)
{
	if (fMenu == nullptr)
		return;
	int32 title = _TitleAt(where);
	if (title == fTitle) {
		Close();
	} else if (title >= 0 && fBar->SubmenuAt(title) != nullptr) {
		Open(title);
	} else if (fMenu->ConvertToWindow(fMenu->Bounds()).Contains(where)) {
		fTracking = true;
		fPressedOnTitle = false;
		fMenu->_Select(_ItemAt(where));
	} else {
		Close();
	}
}

void
MenuTracker::Moved(BPoint where)
{
	if (fMenu == nullptr)
		return;
	// Dragging onto another title opens its menu instead.
	int32 title = _TitleAt(where);
	if (fTracking && title >= 0 && title != fTitle
		&& fBar->SubmenuAt(title) != nullptr) {
		bool pressedOnTitle = fPressedOnTitle;
		Open(title);
		fPressedOnTitle = pressedOnTitle;
	}
	fMenu->_Select(_ItemAt(where));
}

void
MenuTracker::Released(BPoint where)
{
	if (fMenu == nullptr || !fTracking)
		return;
	fTracking = false;
	BMenuItem* item = fMenu->ItemAt(_ItemAt(where));
	if (item != nullptr) {
		Close();
		item->Invoke();
	} else if (!fPressedOnTitle || _TitleAt(where) != fTitle) {
		Close();
	}
	// A click on the title alone leaves the menu open for the next click.
}

void
MenuTracker::OpenFromKeyboard(int32 title)
{
	Open(title);
	if (fMenu == nullptr)
		return;
	// No button is held: releases have nothing to choose.
	fTracking = false;
	fPressedOnTitle = false;
	fMenu->_Select(fMenu->CountItems() > 0 ? 0 : -1);
}

void
MenuTracker::KeyPressed(char byte, int32 key)
{
	if (fMenu == nullptr)
		return;
	int32 count = fMenu->CountItems();
	int32 selected = fMenu->_Selected();
	switch (byte) {
		case B_UP_ARROW:
			if (count > 0)
				fMenu->_Select(
					selected < 0 ? count - 1 : (selected + count - 1) % count);
			break;
		case B_DOWN_ARROW:
			if (count > 0)
				fMenu->_Select(selected < 0 ? 0 : (selected + 1) % count);
			break;
		case B_ENTER:
		case B_SPACE:
			if (BMenuItem* item = fMenu->ItemAt(selected)) {
				Close();
				item->Invoke();
			}
			break;
		case B_ESCAPE:
			Close();
			break;
		case B_FUNCTION_KEY:
			if (key == B_F10_KEY)
				Close();
			break;
		default:
			break;
	}
}

void
MenuTracker::MouseDown(BPoint where)
{
	Pressed(ConvertToWindow(where));
}

void
MenuTracker::MouseMoved(BPoint where, uint32, const BMessage*)
{
	Moved(ConvertToWindow(where));
}

void
MenuTracker::MouseUp(BPoint where)
{
	Released(ConvertToWindow(where));
}

} // namespace BPrivate
