// Messages that no menu or drag would send: every code from -2 to 9 at the
// main window, each with its colour field missing, negative, too large or
// huge; and the About box's buttons pressed faster than it can hide.

#include <Button.h>

#include <climits>

#include "AboutBox.h"
#include "GameFixture.h"

namespace {

using kxtest::BoardState;

class StrayMessages : public kxtest::GameTest {
protected:
	void
	Send(int32 code, const int32* color)
	{
		BMessage message((uint32)code);
		if (color != nullptr)
			message.AddInt32("Kalvex:color", *color);
		window->PostMessage(&message);
		ASSERT_TRUE(SettleRunningClock(window));
	}
};


TEST_F(StrayMessages, EveryCodeWithEveryColourField)
{
	const int32 kNoField = -100;
	AboutBox*	box = app->aboutBox;

	for (int32 code = -2; code <= 9; code++) {
		if (code == MSG_QUIT)
			continue;
		for (int32 field :
			{ -1, INT32_MIN, 9, INT32_MAX, 1 << 20, 4, kNoField }) {
			SCOPED_TRACE(testing::Message()
				<< "code " << code << ", colour "
				<< (field == kNoField ? std::string("missing")
									  : std::to_string(field)));
			// From a fresh user game, the pointer on hole 2 of row 13.
			Send(MSG_NEW_GAME, nullptr);
			harness.MoveTo(window, InWindow(Hole(13, 2)));
			ASSERT_TRUE(harness.display.WaitForInput());
			BoardState before = State();

			Send(code, field == kNoField ? nullptr : &field);
			BoardState after = State();
			EXPECT_EQ(Broken(), "");

			switch (code) {
				case MSG_DROP: {
					// A missing field reads as 0, red; only 0 to 8 are pegs.
					int32 peg = field == kNoField ? 0 : field;
					if (peg >= 0 && peg < kPegColorCount) {
						EXPECT_EQ(after.colors[13][2], peg);
						after.colors[13][2] = PEG_NONE;
					}
					EXPECT_TRUE(after == before);
					break;
				}
				case MSG_GIVE_UP:
				case MSG_NEW_GAME:
				case MSG_CPU_PLAY:
					// The commands' own tests check what they do.
					break;
				case MSG_ABOUT:
					// About twice is put away by one OK.
					Send(MSG_ABOUT, nullptr);
					ASSERT_TRUE(Settle(box));
					EXPECT_FALSE(box->IsHidden());
					box->PostMessage(MSG_ABOUT_OK);
					ASSERT_TRUE(Settle(box));
					EXPECT_TRUE(box->IsHidden());
					break;
				default:
					// Only the About box acts on its own two codes.
					EXPECT_TRUE(after == before);
					EXPECT_TRUE(box->IsHidden());
					break;
			}
		}
	}
	EXPECT_TRUE(launches.empty());

	// Quit, with a colour field that means nothing.
	BMessage quit(MSG_QUIT);
	quit.AddInt32("Kalvex:color", INT32_MIN);
	window->PostMessage(&quit);
	EXPECT_TRUE(harness.WaitForQuit());
}


TEST_F(StrayMessages, AboutAndOKFasterThanTheBoxHandlesThem)
{
	// Two clicks on OK that both reach the box before it handles either
	// still let About show it again.
	AboutBox* box = app->aboutBox;
	window->PostMessage(MSG_ABOUT);
	ASSERT_TRUE(Settle());
	ASSERT_FALSE(box->IsHidden());
	box->Lock();
	harness.MoveTo(box, kxtest::Middle(box->okButton->Frame()));
	for (int i = 0; i < 2; i++) {
		harness.display.Press();
		harness.display.Release();
	}
	EXPECT_TRUE(harness.display.WaitForInput());
	box->Unlock();
	ASSERT_TRUE(Settle(box));
	EXPECT_TRUE(box->IsHidden());
	window->PostMessage(MSG_ABOUT);
	ASSERT_TRUE(Settle());
	EXPECT_FALSE(box->IsHidden());
	EXPECT_TRUE(harness.display.IsVisible(box));
}

} // namespace
