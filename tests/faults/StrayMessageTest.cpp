// Messages that no menu or drag would send: every code from -2 to 9 at the
// main window, each with its colour field missing, negative, too large or
// huge; and the About box's buttons pressed faster than it can hide.

#include <Button.h>

#include <gtest/gtest.h>

#include <climits>

#include "AboutBox.h"
#include "BoardInvariants.h"
#include "GameFixture.h"
#include "LaunchHook.h"

namespace {

using kxtest::BoardState;
using kxtest::HeadlessApp;

class StrayMessages : public kxtest::GameTest {
protected:
	void
	SetUp() override
	{
		kxtest::GameTest::SetUp();
		ASSERT_TRUE(HeadlessApp::Settle(window));
		BPrivate::SetLaunchHook([this](const std::vector<std::string>&) {
			fLaunches++;
			return B_OK;
		});
	}

	void
	TearDown() override
	{
		kxtest::GameTest::TearDown();
		BPrivate::SetLaunchHook(nullptr);
	}

	void
	Send(int32 code, const int32* color)
	{
		BMessage message((uint32)code);
		if (color != nullptr)
			message.AddInt32("Kalvex:color", *color);
		window->PostMessage(&message);
		ASSERT_TRUE(SettleRunningClock(window));
	}

	void
	ExpectWhole()
	{
		kxtest::BoardInvariants invariants;
		window->Lock();
		EXPECT_EQ(invariants.Broken(view), "");
		window->Unlock();
	}

	std::atomic<int32> fLaunches { 0 };
};


TEST_F(StrayMessages, EveryCodeWithEveryColourField)
{
	const int32		   colors[] = { -1, INT32_MIN, 9, INT32_MAX, 1 << 20, 4 };
	const int32		   kNoField = -100;
	std::vector<int32> fields(std::begin(colors), std::end(colors));
	fields.push_back(kNoField);
	AboutBox* box = app->aboutBox;

	for (int32 code = -2; code <= 9; code++) {
		if (code == MSG_QUIT)
			continue;
		for (int32 field : fields) {
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
			ExpectWhole();

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
					EXPECT_FALSE(after.gameActive);
					break;
				case MSG_NEW_GAME:
					EXPECT_TRUE(after.gameActive);
					EXPECT_EQ(after.currentRow, kBoardFirstRow);
					break;
				case MSG_CPU_PLAY:
					// The computer plays; while the window settled, the
					// running clock may already have let it finish a game.
					EXPECT_TRUE(after.cpuActive
						|| (!after.gameActive
							&& after.CountPegs(kBoardFirstRow)
								== kBoardHoleCount));
					break;
				case MSG_ABOUT:
					ASSERT_TRUE(HeadlessApp::Settle(box));
					EXPECT_FALSE(box->IsHidden());
					box->PostMessage(MSG_ABOUT_OK);
					ASSERT_TRUE(HeadlessApp::Settle(box));
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
	EXPECT_EQ(fLaunches, 0);

	// Quit, with the computer playing and a colour field that means nothing.
	// Posted without running the clock, so the player waits in its first
	// pause instead of finishing its game.
	window->PostMessage(MSG_CPU_PLAY);
	ASSERT_TRUE(clock.WaitForSleepers(1));
	BMessage quit(MSG_QUIT);
	quit.AddInt32("Kalvex:color", INT32_MIN);
	window->PostMessage(&quit);
	clock.SetAutomatic(true);
	EXPECT_TRUE(harness.WaitForQuit());
	EXPECT_LT(find_thread("CPU Player"), 0);
}


class AboutPresses : public StrayMessages {
protected:
	// Two clicks on OK that both reach the box before it handles either.
	void
	DoubleClickOK()
	{
		BRect  ok = box()->okButton->Frame();
		BPoint middle((ok.left + ok.right) / 2, (ok.top + ok.bottom) / 2);
		box()->Lock();
		harness.MoveTo(box(), middle);
		for (int i = 0; i < 2; i++) {
			harness.display.Press();
			harness.display.Release();
		}
		ASSERT_TRUE(harness.display.WaitForInput());
		box()->Unlock();
		ASSERT_TRUE(HeadlessApp::Settle(box()));
	}

	AboutBox*
	box()
	{
		return app->aboutBox;
	}
};

TEST_F(AboutPresses, OKPressedTwiceQuicklyStillLetsAboutShowTheBoxAgain)
{
	window->PostMessage(MSG_ABOUT);
	ASSERT_TRUE(HeadlessApp::Settle(window));
	ASSERT_FALSE(box()->IsHidden());
	DoubleClickOK();
	EXPECT_TRUE(box()->IsHidden());

	window->PostMessage(MSG_ABOUT);
	ASSERT_TRUE(HeadlessApp::Settle(window));
	EXPECT_FALSE(box()->IsHidden());
	EXPECT_TRUE(harness.display.IsVisible(box()));
}

TEST_F(AboutPresses, AboutTwiceIsPutAwayByOneOK)
{
	window->PostMessage(MSG_ABOUT);
	window->PostMessage(MSG_ABOUT);
	ASSERT_TRUE(HeadlessApp::Settle(window));
	box()->PostMessage(MSG_ABOUT_OK);
	ASSERT_TRUE(HeadlessApp::Settle(box()));
	EXPECT_TRUE(box()->IsHidden());
	EXPECT_FALSE(harness.display.IsVisible(box()));
}

} // namespace
