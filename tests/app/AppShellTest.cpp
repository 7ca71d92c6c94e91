// The application as a whole on the headless display: the menu, the About
// box and the address it hands the browser.

#include <Button.h>
#include <MenuItem.h>

#include <filesystem>
#include <fstream>

#include "AboutBox.h"
#include "GameFixture.h"
#include "HeadlessDisplay.h"

namespace fs = std::filesystem;

namespace {

using kxtest::BoardState;

class AppShell : public kxtest::GameTest { };

TEST_F(AppShell, TheMenuHoldsTheFiveItemsInOrderWithoutShortcuts)
{
	EXPECT_STREQ(window->Title(), "Kalvex v1.2");
	EXPECT_EQ(window->Frame(), BRect(30, 30, 189, 298));
	EXPECT_EQ(window->Flags(), (uint32)(B_NOT_RESIZABLE | B_NOT_ZOOMABLE));
	ASSERT_EQ(window->menuBar->CountItems(), 1);

	// The labels are checked with the other texts in TranslationTest.
	const uint32 codes[] = { MSG_NEW_GAME, MSG_GIVE_UP, MSG_CPU_PLAY, MSG_ABOUT,
		MSG_QUIT };
	ASSERT_EQ(window->gameMenu->CountItems(), 5);
	for (int32 i = 0; i < 5; i++) {
		BMenuItem* item = window->gameMenu->ItemAt(i);
		EXPECT_EQ(item->Message()->what, codes[i]);
		EXPECT_EQ(item->Shortcut(), 0);
	}
}

TEST_F(AppShell, AboutIsModalAndOkHidesTheSameBox)
{
	AboutBox* box = app->aboutBox;
	EXPECT_TRUE(box->IsHidden());
	EXPECT_STREQ(box->Title(), "About Kalvex...");
	EXPECT_EQ(box->Feel(), B_MODAL_APP_WINDOW_FEEL);
	EXPECT_TRUE(box->Flags() & B_NOT_CLOSABLE);

	Choose(3); // About...
	ASSERT_TRUE(Settle(box));
	EXPECT_FALSE(box->IsHidden());
	EXPECT_TRUE(harness.display.IsVisible(box));
	EXPECT_TRUE(box->IsFront());

	// The main window takes no pointer input meanwhile: a click on its menu
	// bar opens nothing, so the second click chooses nothing either.
	BoardState before = State();
	ASSERT_TRUE(harness.Click(window, BPoint(10, 8)));
	ASSERT_TRUE(harness.Click(window, BPoint(30, 50)));
	EXPECT_TRUE(State() == before);

	// The web button asks for the browser each time and the box stays; OK
	// hides it.
	BPoint webMiddle = kxtest::Middle(box->webButton->Frame());
	ASSERT_TRUE(harness.Click(box, webMiddle));
	ASSERT_TRUE(harness.Click(box, webMiddle));
	std::vector<std::string> browser = { "xdg-open",
		AboutBox::WebPageAddress() };
	EXPECT_EQ(
		launches, (std::vector<std::vector<std::string>> { browser, browser }));
	EXPECT_NE(browser[1].find("kalvex.html"), std::string::npos);
	EXPECT_FALSE(box->IsHidden());

	ASSERT_TRUE(harness.Click(box, kxtest::Middle(box->okButton->Frame())));
	EXPECT_TRUE(box->IsHidden());
}

// A display that cannot be opened, as on a machine without a desktop.
class NoDisplay : public BPrivate::HeadlessDisplay {
public:
	status_t
	Open() override
	{
		return B_ERROR;
	}
};

// main reports the missing display and ends: no window is made whose thread
// could still run while the program's statics are destroyed.
TEST(WithoutADisplay, TheApplicationMakesNoWindowAndGoesCleanly)
{
	// Outlives the test: the process keeps no display of its own otherwise.
	static NoDisplay display;
	display.Install();
	Kalvex* app = new Kalvex();
	EXPECT_NE(app->InitCheck(), B_OK);
	EXPECT_EQ(app->mainWindow, nullptr);
	EXPECT_EQ(app->aboutBox, nullptr);
	EXPECT_EQ(app->CountWindows(), 0);
	delete app;
}

TEST(WebPageAddress, IsAPercentEncodedFileAddressWhateverTheFolderHolds)
{
	char pattern[] = "/tmp/kx-manualXXXXXX";
	ASSERT_NE(mkdtemp(pattern), nullptr);
	fs::path folder = fs::path(pattern) / "a b%c#d?e&f+\xc3\xa9";
	fs::create_directory(folder);
	std::ofstream(folder / "kalvex.html").close();
	fs::path previous = fs::current_path();
	fs::current_path(folder);
	std::string address = AboutBox::WebPageAddress();
	fs::current_path(previous);
	fs::remove_all(pattern);
	EXPECT_EQ(address,
		std::string("file://") + pattern
			+ "/a%20b%25c%23d%3Fe%26f%2B%C3%A9/kalvex.html");
}

} // namespace
