#include "Kalvex.h"

#include "AboutBox.h"
#include "KXWindow.h"


Kalvex::Kalvex() :
	BApplication("application/x-vnd-Kalvex"),
	mainWindow(NULL),
	aboutBox(NULL)
{
	// Without a display there is nothing to show: main says so and ends,
	// and no window's thread may still run while the program goes.
	if (InitCheck() != B_OK)
		return;
	mainWindow = new KXWindow();
	mainWindow->Show();

	// Its loop runs from the start; the window stays hidden until "About...".
	aboutBox = new AboutBox();
	aboutBox->Run();
}
