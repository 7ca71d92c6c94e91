#include "Kalvex.h"

#include "AboutBox.h"
#include "KXWindow.h"


Kalvex::Kalvex() :
	BApplication("application/x-vnd-Kalvex"),
	mainWindow(NULL),
	aboutBox(NULL)
{
	mainWindow = new KXWindow();
	mainWindow->Show();

	// Its loop runs from the start; the window stays hidden until "About...".
	aboutBox = new AboutBox();
	aboutBox->Run();
}
