#ifndef ABOUT_BOX_H
#define ABOUT_BOX_H

#include <Window.h>

#include <string>

class BButton;
class BStringView;


// The About box: made once, hidden, at start-up; "About..." shows it and
// "OK" hides it again. While shown it blocks the application's other windows.
class AboutBox : public BWindow {
public:
	AboutBox();

	virtual void	   MessageReceived(BMessage* message);

	// The address of the game's manual that the web-page button opens.
	static std::string WebPageAddress();

	BStringView*	   lines[5];
	BButton*		   okButton;
	BButton*		   webButton;
};

#endif // ABOUT_BOX_H
