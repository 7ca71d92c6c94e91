// Pegs dragged from the palette with the headless pointer: the press, the
// wait for the gesture on the test clock, the drag and the drop.

#include <Bitmap.h>

#include <gtest/gtest.h>

#include "Desktop.h"
#include "GameFixture.h"

namespace {

class PaletteDrag : public kxtest::GameTest {
protected:
	void
	SetUp() override
	{
		kxtest::GameTest::SetUp();
		ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
	}


	// Presses at a board point; true when the view went on to wait for the
	// gesture (it sleeps on the clock between two readings).
	bool
	PressWaits(BPoint where)
	{
		int64 sleeps = clock.CountSleeps();
		harness.MoveTo(window, InWindow(where));
		harness.display.Press();
		EXPECT_TRUE(harness.display.WaitForInput());
		// Either the view sleeps on the clock, or the press is handled.
		auto deadline = std::chrono::steady_clock::now() + kxtest::kWatchdog;
		while (clock.CountSleeps() == sleeps
			&& !BPrivate::TestAccess::IsIdle(window)) {
			if (std::chrono::steady_clock::now() > deadline)
				return false;
			std::this_thread::yield();
		}
		return clock.CountSleeps() > sleeps;
	}

	void
	ReleaseAndSettle()
	{
		harness.display.Release();
		ASSERT_TRUE(harness.display.WaitForInput());
		ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
	}

	// Drags the peg of a palette point to a board point.
	void
	Drag(BPoint from, BPoint to)
	{
		ASSERT_TRUE(PressWaits(from));
		harness.MoveTo(window, InWindow(from + BPoint(1, 0)));
		ASSERT_TRUE(harness.display.WaitForInput());
		ASSERT_TRUE(clock.AdvanceToNextWakeup());
		ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
		EXPECT_TRUE(BPrivate::Desktop::Default()->IsDragging());
		EXPECT_TRUE(harness.display.DragImageShown());
		harness.MoveTo(window, InWindow(to));
		ReleaseAndSettle();
		EXPECT_FALSE(BPrivate::Desktop::Default()->IsDragging());
	}

	// The middle of a palette slot.
	static BPoint
	Slot(int32 color)
	{
		BRect slot = PaletteSlotRect(color);
		return BPoint(
			(slot.left + slot.right) / 2, (slot.top + slot.bottom) / 2);
	}
};

TEST_F(PaletteDrag, ADragFromEachSlotPlacesThatColourAndTheFifthScores)
{
	SetSecret(Sequence(8, 7, 6, 5, 4));
	for (int32 color = 0; color < kPegColorCount; color++) {
		int32 hole = color % 5;
		int32 row = State().currentRow;
		Drag(Slot(color), Hole(row, hole));
		kxtest::BoardState state = State();
		EXPECT_EQ(state.colors[row][hole], color) << "colour " << color;
		if (hole == 4) {
			// Row 13 held 0 1 2 3 4 against 8 7 6 5 4: one exact mark.
			EXPECT_EQ(state.currentRow, row - 1);
			EXPECT_EQ(state.hints[row][0], HINT_EXACT);
			EXPECT_EQ(state.hints[row][1], HINT_NONE);
		}
	}
}

TEST_F(PaletteDrag, APlainClickActivatesTheWindowAndSendsNothing)
{
	int32			   raises = harness.display.CountRaises(window);
	kxtest::BoardState before = State();
	ASSERT_TRUE(PressWaits(Slot(3)));
	harness.display.Release();
	ASSERT_TRUE(harness.display.WaitForInput());
	ASSERT_TRUE(clock.AdvanceToNextWakeup());
	ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
	EXPECT_FALSE(BPrivate::Desktop::Default()->IsDragging());
	EXPECT_TRUE(State() == before);
	EXPECT_GE(harness.display.CountRaises(window), raises);
	EXPECT_TRUE(window->IsFront());
}

TEST_F(PaletteDrag, PressesOffThePaletteDoNothingAndWaitForNothing)
{
	kxtest::BoardState before = State();
	for (BPoint where : { BPoint(144, 80), BPoint(153, 100), BPoint(16, 217),
			 BPoint(135, 90), BPoint(144, 226) }) {
		EXPECT_FALSE(PressWaits(where)) << where.x << "," << where.y;
		ReleaseAndSettle();
	}
	EXPECT_TRUE(State() == before);
	// Both edges belong to the palette.
	for (BPoint where : { BPoint(136, 100), BPoint(152, 100) }) {
		EXPECT_TRUE(PressWaits(where)) << where.x << "," << where.y;
		harness.display.Release();
		ASSERT_TRUE(harness.display.WaitForInput());
		ASSERT_TRUE(clock.AdvanceToNextWakeup());
		ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
	}
}

TEST_F(PaletteDrag, SharedSlotEdgesGoToTheUpperSlot)
{
	// y 97 lies on red's and yellow's edge: red. y 225 is white's last line.
	Drag(BPoint(144, 97), Hole(13, 0));
	Drag(BPoint(144, 225), Hole(13, 1));
	kxtest::BoardState state = State();
	EXPECT_EQ(state.colors[13][0], PEG_RED);
	EXPECT_EQ(state.colors[13][1], PEG_WHITE);
}

TEST_F(PaletteDrag, PressesWhileTheComputerPlaysOrAfterTheGameDoNothing)
{
	window->Lock();
	view->GiveUp();
	window->Unlock();
	EXPECT_FALSE(PressWaits(Slot(0)));
	ReleaseAndSettle();

	window->PostMessage(MSG_CPU_PLAY);
	ASSERT_TRUE(clock.WaitForSleepers(1)); // the player's first pause
	int64 sleeps = clock.CountSleeps();
	harness.MoveTo(window, InWindow(Slot(0)));
	harness.display.Press();
	ASSERT_TRUE(harness.display.WaitForInput());
	ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
	EXPECT_EQ(clock.CountSleeps(), sleeps);
	ReleaseAndSettle();
}

TEST_F(PaletteDrag, TheDragImageIsACopyThePegsStayOpaque)
{
	const BBitmap* peg = view->pegBitmaps[PEG_GREEN];
	const uint8*   middle =
		static_cast<const uint8*>(peg->Bits()) + 8 * peg->BytesPerRow() + 8 * 4;
	ASSERT_EQ(middle[3], 255);
	Drag(Slot(PEG_GREEN), Hole(13, 2));
	EXPECT_EQ(middle[3], 255);
	EXPECT_EQ(State().colors[13][2], PEG_GREEN);
}

} // namespace
