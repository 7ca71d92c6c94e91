#ifndef _MENU_BAR_H
#define _MENU_BAR_H

#include <Menu.h>

namespace BPrivate {
class MenuTracker;
class TestAccess;
}

// The row of menu titles across the top of a window. A press on a title
// opens its menu below it, over the window's other views; releasing on an
// item chooses it. A click on the title alone leaves the menu open until
// the next click, which chooses the item under it or closes the menu. F10
// opens the first menu from the keyboard: Up and Down move the highlight,
// Enter chooses, Escape closes.
class BMenuBar : public BMenu {
public:
	BMenuBar(BRect frame, const char* name,
		uint32		resizingMode = B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP,
		menu_layout layout = B_ITEMS_IN_ROW, bool resizeToFit = true);
	virtual ~BMenuBar();

	void AttachedToWindow() override;
	void DetachedFromWindow() override;
	void Draw(BRect updateRect) override;
	void MouseDown(BPoint where) override;
	void MouseMoved(
		BPoint where, uint32 transit, const BMessage* dragMessage) override;
	void MouseUp(BPoint where) override;

	// A key for the window: F10 opens the first menu, and an open menu
	// takes every key. False when the key is not the bar's.
	bool _KeyDown(char byte, int32 key);

private:
	friend class BPrivate::TestAccess;

	bool				   fResizeToFit;
	BPrivate::MenuTracker* fTracker;
};

#endif
