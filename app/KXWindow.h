#ifndef KX_WINDOW_H
#define KX_WINDOW_H

#include <Window.h>

class BMenu;
class BMenuBar;
class KXView;


// The main window: hands menu commands and dropped pegs to the board view.
class KXWindow : public BWindow {
public:
	KXWindow();

	virtual void MessageReceived(BMessage* message);
	// Stops the computer player before the application is asked to quit.
	virtual bool QuitRequested();

	KXView*		 boardView;
	BMenuBar*	 menuBar;
	BMenu*		 gameMenu;
};

#endif // KX_WINDOW_H
