#include "KXWindow.h"

#include <Application.h>
#include <AppDefs.h>
#include <Message.h>

#include "KXView.h"
#include "MessageCodes.h"


KXWindow::KXWindow()
	:
	BWindow(BRect(30, 30, 189, 298), "Kalvex v1.2", B_TITLED_WINDOW,
		B_NOT_RESIZABLE | B_NOT_ZOOMABLE, B_CURRENT_WORKSPACE)
{
	boardView = new KXView();
	AddChild(boardView);
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
