#ifndef _MENU_H
#define _MENU_H

#include <InterfaceDefs.h>
#include <View.h>

#include <vector>

class BMenuItem;

// A list of items shown in a column (a menu that opens) or in a row (a
// menu bar). A menu owns its items. Once it hangs from a menu bar it is
// shown by the bar, which tracks the pointer over it: a menu does not
// handle the mouse itself but hands the pointer on to the view that shows it.
class BMenu : public BView {
public:
	explicit BMenu(const char* name, menu_layout layout = B_ITEMS_IN_COLUMN);
	virtual ~BMenu();

	// The menu takes over the item (or the submenu, in a new item).
	bool		 AddItem(BMenuItem* item);
	bool		 AddItem(BMenuItem* item, int32 index);
	bool		 AddItem(BMenu* submenu);
	// Gives the item back to the caller.
	bool		 RemoveItem(BMenuItem* item);
	BMenuItem*	 RemoveItem(int32 index);

	int32		 CountItems() const;
	BMenuItem*	 ItemAt(int32 index) const;
	BMenu*		 SubmenuAt(int32 index) const;
	int32		 IndexOf(BMenuItem* item) const;
	// The first item with the label, here or in a submenu.
	BMenuItem*	 FindItem(const char* label) const;
	BMenuItem*	 FindItem(uint32 command) const;

	menu_layout	 Layout() const;
	BMenu*		 Supermenu() const;
	BMenuItem*	 Superitem() const;

	// The size that shows every item: the widest label in a column, or
	// all labels side by side in a row.
	virtual void GetPreferredSize(float* width, float* height);
	void		 ResizeToPreferred();

	void		 AttachedToWindow() override;
	void		 Draw(BRect updateRect) override;
	void		 MouseDown(BPoint where) override;
	void		 MouseMoved(
				BPoint where, uint32 transit, const BMessage* dragMessage) override;
	void  MouseUp(BPoint where) override;

	// For the platform, in the menu's coordinates.
	BRect _ItemFrame(int32 index) const;
	int32 _ItemIndexAt(BPoint where) const;
	// Highlights one item (-1: none).
	void  _Select(int32 index);
	int32 _Selected() const;

protected:
	BMenu(BRect frame, const char* name, uint32 resizingMode, uint32 flags,
		menu_layout layout);

	// The height of one line of text, as the menu's font sets it.
	float _TextHeight() const;

private:
	friend class BMenuItem;

	void					_InstallTarget(BMenuItem* item, BWindow* window);
	BWindow*				_RootWindow() const;

	std::vector<BMenuItem*> fItems;
	menu_layout				fLayout;
	BMenuItem*				fSuperitem;
	int32					fSelected;
};

#endif
