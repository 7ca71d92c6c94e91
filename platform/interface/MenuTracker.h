#ifndef _KX_MENU_TRACKER_H
#define _KX_MENU_TRACKER_H

// Shows the open menu of a menu bar and follows the pointer until the menu
// is put away. While a menu is open the tracker lies over the whole window,
// above its other views, with the menu as its only child: so the menu is
// drawn over everything and a click anywhere in the window reaches the
// tracker rather than the view beneath.

#include <View.h>

class BMenu;
class BMenuBar;

namespace BPrivate {

class MenuTracker : public BView {
public:
	explicit MenuTracker(BMenuBar* bar);
	~MenuTracker() override;

	bool   IsOpen() const;
	BMenu* OpenMenu() const;

	// Opens the menu of the bar's title at the index while the button that
	// pressed the title is still held.
	void   Open(int32 title);
	// Puts the menu away; what it covered is drawn again.
	void   Close();
	// The bar goes while the window takes the tracker down with its other
	// views: forget the bar and its menu.
	void   Orphan();

	// The pointer, in window coordinates.
	void   Pressed(BPoint where);
	void   Moved(BPoint where);
	void   Released(BPoint where);

	// Opens the menu of the title with its first item highlighted, for
	// the keys to move through.
	void   OpenFromKeyboard(int32 title);
	// Up and Down move the highlight round the menu, Enter or Space choose
	// the highlighted item, Escape or F10 close the menu.
	void   KeyPressed(char byte, int32 key);

	void   MouseDown(BPoint where) override;
	void   MouseMoved(
		  BPoint where, uint32 transit, const BMessage* dragMessage) override;
	void MouseUp(BPoint where) override;

private:
	int32	  _TitleAt(BPoint where) const;
	int32	  _ItemAt(BPoint where) const;
	BRect	  _MenuFrame(BMenu* menu, int32 title) const;

	BMenuBar* fBar;
	BMenu*	  fMenu;
	int32	  fTitle;
	// A button is held: its release chooses, keeps the menu open or closes it.
	bool	  fTracking;
	// The held button went down on the open menu's title.
	bool	  fPressedOnTitle;
};

} // namespace BPrivate

#endif
