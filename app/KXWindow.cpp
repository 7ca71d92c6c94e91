#include "KXWindow.h"

#include <Application.h>
#include <AppDefs.h>
#include <Catalog.h>
#include <Menu.h>
#include <MenuBar.h>
#include <MenuItem.h>
#include <Message.h>

#include "AboutBox.h"
#include "BoardLayout.h"
#include "KXView.h"
#include "Kalvex.h"
#include "MessageCodes.h"


// The game menu's items, top to bottom.
struct MenuEntry {
	const char* label;
	uint32		command;
};

static const MenuEntry kMenuEntries[] = {
	// TRANSLATORS: menu item: a new secret code on an empty board.
	{ B_TRANSLATE_MARK("New Game"), MSG_NEW_GAME },
	// TRANSLATORS: menu item: ends the game and shows the secret code.
	{ B_TRANSLATE_MARK("Give Up"), MSG_GIVE_UP },
	// TRANSLATORS: menu item: the computer plays a new game in front of the
	// player, one peg every half second; chosen again, it stops.
	{ B_TRANSLATE_MARK("CPU Play"), MSG_CPU_PLAY },
	// TRANSLATORS: menu item: shows the About box.
	{ B_TRANSLATE_MARK("About..."), MSG_ABOUT },
	// TRANSLATORS: menu item: ends the program.
	{ B_TRANSLATE_MARK("Quit"), MSG_QUIT },
};


KXWindow::KXWindow() :
	// Just large enough for the board's picture below the menu bar.
	BWindow(BRect(30, 30, 30 + kBoardArea.right, 30 + kBoardFrame.bottom),
		"Kalvex v1.2", B_TITLED_WINDOW, B_NOT_RESIZABLE | B_NOT_ZOOMABLE,
		B_CURRENT_WORKSPACE)
{
	boardView = new KXView();
	AddChild(boardView);
	// The keys play on the board from the start.
	boardView->MakeFocus(true);

	menuBar = new BMenuBar(BRect(0, 0, 160, 10), "MainMenu",
		B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP, B_ITEMS_IN_ROW, true);
	gameMenu = new BMenu(
		// TRANSLATORS: the title of the game's only menu, in the menu bar
		// above the board.
		B_TRANSLATE("Menu"), B_ITEMS_IN_COLUMN);
	for (const MenuEntry& entry : kMenuEntries) {
		gameMenu->AddItem(new BMenuItem(
			B_TRANSLATE_NOCOLLECT(entry.label), new BMessage(entry.command)));
	}
	menuBar->AddItem(gameMenu);
	AddChild(menuBar);
}


void
KXWindow::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case MSG_DROP:
			// A drop without the field is a red peg, as the value accessor
			// gives 0 for a missing field.
			boardView->Drop(message->FindInt32("Kalvex:color"));
			return;
		case MSG_GIVE_UP:
			boardView->GiveUp();
			return;
		case MSG_NEW_GAME:
			boardView->Restart();
			return;
		case MSG_CPU_PLAY:
			boardView->ToggleCPU();
			return;
		case MSG_QUIT:
			// Stops the player and asks the application to quit; the window
			// closes when the application asks it in turn.
			QuitRequested();
			return;
		case MSG_ABOUT:
			// Handed over directly, on this thread: the box shows itself.
			static_cast<Kalvex*>(be_app)->aboutBox->MessageReceived(message);
			return;
	}

	BWindow::MessageReceived(message);
}


bool
KXWindow::QuitRequested()
{
	boardView->Quit();
	be_app->PostMessage(B_QUIT_REQUESTED);
	return true;
}
