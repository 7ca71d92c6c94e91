#ifndef KALVEX_H
#define KALVEX_H

#include <Application.h>

class AboutBox;
class KXWindow;


// The application object. Both windows live from start-up to the end of
// the program; the computer player finds the main window here.
class Kalvex : public BApplication {
public:
	Kalvex();

	KXWindow* mainWindow;
	AboutBox* aboutBox;
};

#endif // KALVEX_H
