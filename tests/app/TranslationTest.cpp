// The game in each language of po/, in a German locale, under the C locale
// and for a language without a catalogue: the texts of the menu and the About
// box, each drawn whole where it belongs. (tests/e2e tries damaged ones.)

#include <Button.h>
#include <Catalog.h>
#include <MenuItem.h>
#include <StringView.h>

#include <filesystem>

#include "AboutBox.h"
#include "CatalogFolder.h"
#include "GameFixture.h"
#include "interface/FontFace.h"

namespace fs = std::filesystem;

namespace {

struct Setting {
	std::string name;
	const char* locale;	  // LC_ALL
	std::string language; // LANGUAGE; empty is as unset
	std::string newGame;  // the first item; empty for any but the English
};

void
PrintTo(const Setting& setting, std::ostream* out)
{
	*out << setting.name;
}

const std::vector<std::string> kEnglish = { "Menu", "New Game", "Give Up",
	"CPU Play", "About...", "Quit", "Kalvex v1.2 for R5",
	"Break the code of five pegs.", "Freeware", "Made by the Kalvex team.",
	"Check readme.txt for more information", "Kalvex Web Page", "OK" };

std::vector<Setting>
Settings()
{
	std::vector<Setting> settings = {
		{ "C", "C", "de", "New Game" },
		{ "NoCatalogue", "C.UTF-8", "eo", "New Game" },
		{ "GermanLocale", "de_DE.UTF-8", "", "Neues Spiel" },
	};
	for (const auto& entry : fs::directory_iterator(KX_SOURCE_DIR "/po")) {
		std::string language = entry.path().stem();
		if (entry.path().extension() == ".po") {
			settings.push_back({ language, "C.UTF-8", language, "" });
		}
	}
	return settings;
}


class Translated : public kxtest::GameTest,
				   public testing::WithParamInterface<Setting> {
protected:
	void
	SetUp() override
	{
		const Setting& setting = GetParam();
		// Where the machine lacks the German locale, the script makes it.
		ASSERT_EQ(system(KX_MAKE_GERMAN_LOCALE), 0);
		if (fs::exists(KX_LOCPATH "/de_DE.UTF-8"))
			setenv("LOCPATH", KX_LOCPATH, 1);
		setenv("LC_ALL", setting.locale, 1);
		setenv("LANGUAGE", setting.language.c_str(), 1);
		BPrivate::OpenCatalogIn("kalvex", KX_LOCALE_DIR);
		GameTest::SetUp();
	}

	std::vector<std::string>
	Texts()
	{
		std::vector<std::string> texts = { window->gameMenu->Name() };
		for (int32 i = 0; i < window->gameMenu->CountItems(); i++)
			texts.push_back(window->gameMenu->ItemAt(i)->Label());
		for (BStringView* line : app->aboutBox->lines)
			texts.push_back(line->Text());
		texts.push_back(app->aboutBox->webButton->Label());
		texts.push_back(app->aboutBox->okButton->Label());
		return texts;
	}
};


TEST_P(Translated, TheTextsOfTheLanguageFitWhereTheyAreDrawn)
{
	const std::string&		 expected = GetParam().newGame;
	std::vector<std::string> texts = Texts();
	if (expected == kEnglish[1]) {
		EXPECT_EQ(texts, kEnglish);
	} else {
		// The menu and the About box both speak the language.
		EXPECT_NE(texts[1], kEnglish[1]);
		EXPECT_NE(texts[7], kEnglish[7]);
		EXPECT_TRUE(expected.empty() || texts[1] == expected) << texts[1];
	}
	// The catalogue's own header is kept under the empty text.
	EXPECT_STREQ(B_TRANSLATE_NOCOLLECT(""), "");

	// The open menu is as wide as its longest item, not cut to the window.
	// It stays open to the end, when the window is deleted with it.
	ASSERT_TRUE(harness.Click(window, BPoint(10, 8)));
	Locked([&] {
		BMenu* menu = BPrivate::TestAccess::OpenMenu(window->menuBar);
		ASSERT_NE(menu, nullptr);
		float width, height;
		menu->GetPreferredSize(&width, &height);
		EXPECT_EQ(menu->Bounds().Width(), width);
	});

	// Every line of the About box shows all the ink of its text, and the
	// buttons hold their labels, one below the other inside the box.
	AboutBox* box = app->aboutBox;
	window->PostMessage(MSG_ABOUT);
	ASSERT_TRUE(kxtest::PollUntil([&] {
		return harness.display.CountPresents(box) > 0
			&& BPrivate::TestAccess::IsIdle(box);
	}));
	BRect  bounds = box->Bounds();
	uint32 paper = harness.display.PixelAt(box, 0, 0);
	for (BStringView* line : box->lines) {
		BPrivate::TextCoverage ink;
		be_plain_font->Face()->Render(line->Text(), &ink);
		int32 drawn = 0;
		int32 whole = std::count_if(
			ink.alpha.begin(), ink.alpha.end(), [](uint8 a) { return a > 0; });
		BRect frame = line->Frame() & bounds;
		for (int32 y = frame.top; y <= frame.bottom; y++) {
			for (int32 x = frame.left; x <= frame.right; x++)
				drawn += harness.display.PixelAt(box, x, y) != paper;
		}
		EXPECT_EQ(drawn, whole) << line->Text();
	}
	BRect last = box->lines[4]->Frame();
	for (BButton* button : { box->webButton, box->okButton }) {
		float width;
		button->GetPreferredSize(&width, nullptr);
		EXPECT_LE(width, button->Bounds().Width()) << button->Label();
		EXPECT_GT(button->Frame().top, last.bottom) << button->Label();
		EXPECT_TRUE(bounds.Contains(button->Frame())) << button->Label();
		last = button->Frame();
	}
}

INSTANTIATE_TEST_SUITE_P(Everywhere, Translated, testing::ValuesIn(Settings()),
	[](const testing::TestParamInfo<Setting>& info) {
		return info.param.name;
	});

} // namespace
