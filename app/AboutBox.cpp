#include "AboutBox.h"

#include <Button.h>
#include <Roster.h>
#include <StringView.h>

#include "DataFolders.h"
#include "MessageCodes.h"


static const char* kBrowserSignature = "application/x-vnd.Be-NPOS";

// The manual lies beside the bmp/ folder: in the folder the game runs in,
// or in the installation's data folder.
static const char* kManualName = "kalvex.html";


// A file's address for the browser: every byte of the path but the letters,
// digits, "-._~" and the slashes goes as %XX, so that a space, '%', '#' or
// '?' in a folder's name, or a name in UTF-8, still names that file.
static std::string
FileAddress(const std::string& path)
{
	static const char* kHex = "0123456789ABCDEF";
	std::string		   address = "file://";
	for (unsigned char c : path) {
		bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
			|| (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_'
			|| c == '~' || c == '/';
		if (plain)
			address += (char)c;
		else {
			address += '%';
			address += kHex[c >> 4];
			address += kHex[c & 15];
		}
	}
	return address;
}

static const char* kLineTexts[5] = { "Kalvex v1.2 for R5",
	"Break the code of five pegs.", "Freeware", "Made by the Kalvex team.",
	"Check readme.txt for more information" };


AboutBox::AboutBox() :
	BWindow(BRect(140, 40, 350, 175), "About Kalvex...", B_TITLED_WINDOW_LOOK,
		B_MODAL_APP_WINDOW_FEEL,
		B_NOT_RESIZABLE | B_NOT_CLOSABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE,
		B_CURRENT_WORKSPACE)
{
	for (int32 i = 0; i < 5; i++) {
		float top = 10 + 15 * i;
		lines[i] = new BStringView(BRect(10, top, 340, top + 10), "",
			kLineTexts[i], B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW);
		AddChild(lines[i]);
	}

	webButton = new BButton(BRect(10, 80, 200, 80), "", "Kalvex Web Page",
		new BMessage(MSG_WEB_PAGE), B_FOLLOW_LEFT | B_FOLLOW_TOP,
		B_WILL_DRAW | B_NAVIGABLE);
	AddChild(webButton);

	okButton = new BButton(BRect(10, 105, 200, 105), "", "OK",
		new BMessage(MSG_ABOUT_OK), B_FOLLOW_LEFT | B_FOLLOW_TOP,
		B_WILL_DRAW | B_NAVIGABLE);
	AddChild(okButton);
}


void
AboutBox::MessageReceived(BMessage* message)
{
	switch (message->what) {
		case MSG_ABOUT:
			// Showing and hiding nest: a second "About..." or a second
			// press of "OK" queued before the first was handled must not
			// leave the box one level off, or the next "About..." would
			// show nothing. The main window's thread shows it, so the
			// test and the change happen under the box's lock.
			if (Lock()) {
				if (IsHidden())
					Show();
				Unlock();
			}
			return;
		case MSG_ABOUT_OK:
			if (!IsHidden())
				Hide();
			return;
		case MSG_WEB_PAGE: {
			std::string address = WebPageAddress();
			char*		argv[1] = { const_cast<char*>(address.c_str()) };
			be_roster->Launch(kBrowserSignature, 1, argv);
			return;
		}
	}

	BWindow::MessageReceived(message);
}


std::string
AboutBox::WebPageAddress()
{
	std::string folder = FolderHolding(kManualName);
	if (folder.empty()) {
		// No copy anywhere; the browser will say so for the first place.
		std::vector<std::string> folders = DataFolders();
		if (folders.empty())
			return FileAddress(kManualName);
		folder = folders[0];
	}
	return FileAddress(folder + "/" + kManualName);
}
