#include "Kalvex.h"

#include "KXWindow.h"


Kalvex::Kalvex()
	:
	BApplication("application/x-vnd-Kalvex"),
	mainWindow(NULL),
	aboutBox(NULL)
{
	mainWindow = new KXWindow();
	mainWindow->Show();
}
