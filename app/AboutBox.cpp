#include "AboutBox.h"

#include <Button.h>
#include <Catalog.h>
#include <Font.h>
#include <Roster.h>
#include <StringView.h>

#include <algorithm>
#include <cmath>

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

// The five lines of the box, top to bottom, looked up where they are shown.
static const char* kLineTexts[5] = {
	// TRANSLATORS: the first line of the About box: the game's name, its
	// version and the system it was first written for.
	B_TRANSLATE_MARK("Kalvex v1.2 for R5"),
	// TRANSLATORS: the second line of the About box: what the game is about.
	B_TRANSLATE_MARK("Break the code of five pegs."),
	// TRANSLATORS: the third line of the About box: the game costs nothing.
	B_TRANSLATE_MARK("Freeware"),
	// TRANSLATORS: the fourth line of the About box: who made the game.
	B_TRANSLATE_MARK("Made by the Kalvex team."),
	// TRANSLATORS: the fifth line of the About box; readme.txt is a file
	// name and stays as it is.
	B_TRANSLATE_MARK("Check readme.txt for more information")
};

// TRANSLATORS: the About box's button that opens the game's manual in the
// web browser.
static const char* kWebLabel = B_TRANSLATE_MARK("Kalvex Web Page");
// TRANSLATORS: the About box's button that puts the box away.
static const char* kOkLabel = B_TRANSLATE_MARK("OK");

// The English layout: the lines one below the other, then the two buttons,
// with this much space on either side.
static const float kMargin = 10;
static const float kTextRoom = 191;
static const float kLineTop = 10;
static const float kLinePitch = 15;
// Frames count their last row: this is one less than the rows a line has.
static const float kLineHeight = 10;
static const float kButtonsTop = 80;
static const float kButtonPitch = 25;
static const float kSpaceBelow = 6;
// The lines' frames reach past the box; the box cuts them at its edge.
static const float kLineRight = 340;


// The width the lines and the buttons need: a translation longer than the
// English text widens the box rather than being cut at its edge.
static float
TextRoom()
{
	float room = kTextRoom;
	for (const char* text : kLineTexts) {
		room = std::max(room,
			ceilf(be_plain_font->StringWidth(B_TRANSLATE_NOCOLLECT(text))));
	}
	for (const char* label : { kWebLabel, kOkLabel }) {
		BButton button(BRect(), "", B_TRANSLATE_NOCOLLECT(label), NULL);
		float	width;
		button.GetPreferredSize(&width, NULL);
		room = std::max(room, width + 1);
	}
	return room;
}


// A line holds the font's ascent and descent whole, so that neither an
// accent above a capital nor a descender is cut; with a font taller than
// the lines were made for, the lines and the buttons below move apart.
static float
LineHeight()
{
	font_height height;
	be_plain_font->GetHeight(&height);
	return std::max(kLineHeight, ceilf(height.ascent) + ceilf(height.descent));
}


static float
LinePitch()
{
	return std::max(kLinePitch, LineHeight() + 1);
}


static float
ButtonsTop()
{
	return std::max(kButtonsTop, kLineTop + 4 * LinePitch() + LineHeight() + 1);
}


static float
ButtonPitch()
{
	BButton button(BRect(), "", "", NULL);
	return std::max(kButtonPitch, button.Bounds().Height() + 1);
}


AboutBox::AboutBox() :
	BWindow(BRect(140, 40, 140 + TextRoom() + 2 * kMargin - 1,
				40 + ButtonsTop() + 2 * ButtonPitch() + kSpaceBelow - 1),
		// Window titles stay as they are in every language: they name the
		// program to the desktop.
		"About Kalvex...", B_TITLED_WINDOW_LOOK, B_MODAL_APP_WINDOW_FEEL,
		B_NOT_RESIZABLE | B_NOT_CLOSABLE | B_NOT_ZOOMABLE | B_NOT_MINIMIZABLE,
		B_CURRENT_WORKSPACE)
{
	float right = Bounds().right - kMargin;
	for (int32 i = 0; i < 5; i++) {
		float top = kLineTop + LinePitch() * i;
		lines[i] =
			new BStringView(BRect(kMargin, top, std::max(kLineRight, right),
								top + LineHeight()),
				"", B_TRANSLATE_NOCOLLECT(kLineTexts[i]),
				B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW);
		AddChild(lines[i]);
	}

	float top = ButtonsTop();
	webButton = new BButton(BRect(kMargin, top, right, top), "",
		B_TRANSLATE_NOCOLLECT(kWebLabel), new BMessage(MSG_WEB_PAGE),
		B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_NAVIGABLE);
	AddChild(webButton);

	top += ButtonPitch();
	okButton = new BButton(BRect(kMargin, top, right, top), "",
		B_TRANSLATE_NOCOLLECT(kOkLabel), new BMessage(MSG_ABOUT_OK),
		B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_NAVIGABLE);
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
