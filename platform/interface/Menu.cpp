#include <Menu.h>

#include <MenuItem.h>
#include <Window.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "interface/ControlLook.h"

using namespace BPrivate;

namespace {

// Space between a label and the edges of its item.
const float kItemHorizontalPadding = 8;
const float kItemVerticalPadding = 2;
// A column has a one-pixel frame around its items.
const float kColumnBorder = 1;

} // namespace

BMenu::BMenu(const char* name, menu_layout layout) :
	BMenu(BRect(0, 0, 0, 0), name, B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW,
		layout)
{
	ResizeToPreferred();
}

BMenu::BMenu(BRect frame, const char* name, uint32 resizingMode, uint32 flags,
	menu_layout layout) :
	BView(frame, name, resizingMode, flags),
	fLayout(layout),
	fSuperitem(nullptr),
	fSelected(-1)
{
	SetViewColor(kMenuColor);
}

BMenu::~BMenu()
{
	RemoveSelf();
	for (BMenuItem* item : fItems) {
		item->fSuper = nullptr;
		delete item;
	}
}

bool
BMenu::AddItem(BMenuItem* item)
{
	return AddItem(item, CountItems());
}

bool
BMenu::AddItem(BMenuItem* item, int32 index)
{
	if (item == nullptr || item->fSuper != nullptr || index < 0
		|| index > CountItems())
		return false;
	fItems.insert(fItems.begin() + index, item);
	item->fSuper = this;
	if (BWindow* window = _RootWindow())
		_InstallTarget(item, window);
	if (fSelected >= index)
		fSelected++;
	Invalidate();
	return true;
}

bool
BMenu::AddItem(BMenu* submenu)
{
	if (submenu == nullptr || submenu->fSuperitem != nullptr)
		return false;
	BMenuItem* item = new BMenuItem(submenu);
	if (!AddItem(item)) {
		delete item;
		return false;
	}
	return true;
}

bool
BMenu::RemoveItem(BMenuItem* item)
{
	return RemoveItem(IndexOf(item)) != nullptr;
}

BMenuItem*
BMenu::RemoveItem(int32 index)
{
	BMenuItem* item = ItemAt(index);
	if (item == nullptr)
		return nullptr;
	fItems.erase(fItems.begin() + index);
	item->fSuper = nullptr;
	if (fSelected == index)
		fSelected = -1;
	else if (fSelected > index)
		fSelected--;
	Invalidate();
	return item;
}

int32
BMenu::CountItems() const
{
	return (int32)fItems.size();
}

BMenuItem*
BMenu::ItemAt(int32 index) const
{
	if (index < 0 || index >= CountItems())
		return nullptr;
	return fItems[index];
}

BMenu*
BMenu::SubmenuAt(int32 index) const
{
	BMenuItem* item = ItemAt(index);
	return item != nullptr ? item->Submenu() : nullptr;
}

int32
BMenu::IndexOf(BMenuItem* item) const
{
	auto it = std::find(fItems.begin(), fItems.end(), item);
	return it != fItems.end() ? (int32)(it - fItems.begin()) : -1;
}

BMenuItem*
BMenu::FindItem(const char* label) const
{
	if (label == nullptr)
		return nullptr;
	for (BMenuItem* item : fItems) {
		if (strcmp(item->Label(), label) == 0)
			return item;
		if (item->Submenu() != nullptr) {
			if (BMenuItem* found = item->Submenu()->FindItem(label))
				return found;
		}
	}
	return nullptr;
}

BMenuItem*
BMenu::FindItem(uint32 command) const
{
	for (BMenuItem* item : fItems) {
		if (item->Message() != nullptr && item->Message()->what == command)
			return item;
		if (item->Submenu() != nullptr) {
			if (BMenuItem* found = item->Submenu()->FindItem(command))
				return found;
		}
	}
	return nullptr;
}

menu_layout
BMenu::Layout() const
{
	return fLayout;
}

BMenu*
BMenu::Supermenu() const
{
	return fSuperitem != nullptr ? fSuperitem->Menu() : nullptr;
}

BMenuItem*
BMenu::Superitem() const
{
	return fSuperitem;
}

float
BMenu::_TextHeight() const
{
	font_height height;
	GetFontHeight(&height);
	return ceilf(height.ascent + height.descent + height.leading);
}

void
BMenu::GetPreferredSize(float* width, float* height)
{
	float itemHeight = _TextHeight() + 2 * kItemVerticalPadding;
	float labels = 0;
	for (BMenuItem* item : fItems) {
		float labelWidth =
			ceilf(StringWidth(item->Label())) + 2 * kItemHorizontalPadding;
		labels = fLayout == B_ITEMS_IN_ROW ? labels + labelWidth
										   : std::max(labels, labelWidth);
	}
	// Pixel counts less one, as a frame's width and height are.
	if (fLayout == B_ITEMS_IN_ROW) {
		// With an edge below the items.
		*width = std::max(labels, 1.0f) - 1;
		*height = itemHeight + 1 - 1;
	} else {
		*width = labels + 2 * kColumnBorder - 1;
		*height = CountItems() * itemHeight + 2 * kColumnBorder - 1;
	}
}

void
BMenu::ResizeToPreferred()
{
	float width;
	float height;
	GetPreferredSize(&width, &height);
	ResizeTo(width, height);
}

BRect
BMenu::_ItemFrame(int32 index) const
{
	if (index < 0 || index >= CountItems())
		return BRect();
	if (fLayout == B_ITEMS_IN_ROW) {
		float left = 0;
		for (int32 i = 0; i < index; i++)
			left += ceilf(StringWidth(fItems[i]->Label()))
				+ 2 * kItemHorizontalPadding;
		float width = ceilf(StringWidth(fItems[index]->Label()))
			+ 2 * kItemHorizontalPadding;
		return BRect(left, 0, left + width - 1, Bounds().bottom - 1);
	}
	float itemHeight = _TextHeight() + 2 * kItemVerticalPadding;
	float top = kColumnBorder + index * itemHeight;
	return BRect(kColumnBorder, top, Bounds().right - kColumnBorder,
		top + itemHeight - 1);
}

int32
BMenu::_ItemIndexAt(BPoint where) const
{
	if (!Bounds().Contains(where))
		return -1;
	for (int32 i = 0; i < CountItems(); i++) {
		if (_ItemFrame(i).Contains(where))
			return i;
	}
	return -1;
}

void
BMenu::_Select(int32 index)
{
	if (index == fSelected)
		return;
	Invalidate(_ItemFrame(fSelected));
	fSelected = index;
	Invalidate(_ItemFrame(fSelected));
}

int32
BMenu::_Selected() const
{
	return fSelected;
}

void
BMenu::Draw(BRect updateRect)
{
	if (fLayout != B_ITEMS_IN_ROW) {
		SetHighColor(kShadowColor);
		StrokeRect(Bounds());
	}
	font_height height;
	GetFontHeight(&height);
	for (int32 i = 0; i < CountItems(); i++) {
		BRect frame = _ItemFrame(i);
		if (!frame.Intersects(updateRect))
			continue;
		SetHighColor(i == fSelected ? kMenuSelectedColor : kMenuColor);
		FillRect(frame);
		// The label sits in the middle of the item's height.
		float baseline =
			floorf(frame.top + (frame.Height() + 1 - _TextHeight()) / 2)
			+ ceilf(height.ascent);
		SetHighColor(kLabelColor);
		DrawString(fItems[i]->Label(),
			BPoint(frame.left + kItemHorizontalPadding, baseline));
	}
}

void
BMenu::AttachedToWindow()
{
	for (BMenuItem* item : fItems)
		_InstallTarget(item, Window());
}

void
BMenu::_InstallTarget(BMenuItem* item, BWindow* window)
{
	// Items without a target of their own send to the window.
	if (item->Target() == nullptr)
		item->SetTarget(window);
	if (BMenu* submenu = item->Submenu()) {
		for (BMenuItem* subitem : submenu->fItems)
			submenu->_InstallTarget(subitem, window);
	}
}

BWindow*
BMenu::_RootWindow() const
{
	for (const BMenu* menu = this; menu != nullptr; menu = menu->Supermenu()) {
		if (menu->Window() != nullptr)
			return menu->Window();
	}
	return nullptr;
}

// The view that shows an open menu tracks the pointer over it.
void
BMenu::MouseDown(BPoint where)
{
	if (BView* parent = Parent())
		parent->MouseDown(ConvertToParent(where));
}

void
BMenu::MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage)
{
	if (BView* parent = Parent())
		parent->MouseMoved(ConvertToParent(where), transit, dragMessage);
}

void
BMenu::MouseUp(BPoint where)
{
	if (BView* parent = Parent())
		parent->MouseUp(ConvertToParent(where));
}
