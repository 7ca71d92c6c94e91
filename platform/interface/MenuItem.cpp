#include <MenuItem.h>

#include <Menu.h>

BMenuItem::BMenuItem(
	const char* label, BMessage* message, char shortcut, uint32 modifiers) :
	BInvoker(message, nullptr),
	fLabel(label != nullptr ? label : ""),
	fShortcut(shortcut),
	fModifiers(modifiers),
	fSubmenu(nullptr),
	fSuper(nullptr)
{ }

BMenuItem::BMenuItem(BMenu* submenu, BMessage* message) :
	BInvoker(message, nullptr),
	fLabel(submenu != nullptr ? submenu->Name() : ""),
	fShortcut(0),
	fModifiers(0),
	fSubmenu(submenu),
	fSuper(nullptr)
{
	if (submenu != nullptr)
		submenu->fSuperitem = this;
}

BMenuItem::~BMenuItem()
{
	if (fSuper != nullptr)
		fSuper->RemoveItem(this);
	delete fSubmenu;
}

const char*
BMenuItem::Label() const
{
	return fLabel.c_str();
}

void
BMenuItem::SetLabel(const char* label)
{
	fLabel = label != nullptr ? label : "";
	if (fSuper != nullptr)
		fSuper->Invalidate();
}

char
BMenuItem::Shortcut(uint32* modifiers) const
{
	if (modifiers != nullptr)
		*modifiers = fModifiers;
	return fShortcut;
}

BMenu*
BMenuItem::Submenu() const
{
	return fSubmenu;
}

BMenu*
BMenuItem::Menu() const
{
	return fSuper;
}
