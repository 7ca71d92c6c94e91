#ifndef _MENU_ITEM_H
#define _MENU_ITEM_H

#include <Invoker.h>

#include <string>

class BMenu;
class BMessage;

// One entry of a menu: a label that sends its message when chosen, or the
// title of a submenu. Until a target is set, the item sends to the window
// that holds its menu.
class BMenuItem : public BInvoker {
public:
	// Takes over the message.
	BMenuItem(const char* label, BMessage* message, char shortcut = 0,
		uint32 modifiers = 0);
	// Takes over the submenu; its name is the label.
	explicit BMenuItem(BMenu* submenu, BMessage* message = nullptr);
	virtual ~BMenuItem();

	const char*	 Label() const;
	virtual void SetLabel(const char* label);
	char		 Shortcut(uint32* modifiers = nullptr) const;
	BMenu*		 Submenu() const;
	// The menu that holds the item, if any.
	BMenu*		 Menu() const;

private:
	friend class BMenu;

	std::string fLabel;
	char		fShortcut;
	uint32		fModifiers;
	BMenu*		fSubmenu;
	BMenu*		fSuper;
};

#endif
