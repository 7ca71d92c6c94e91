// Pegs dragged from the palette with the headless pointer: the press, the
// wait for the gesture on the test clock, the drag, its image and the drop.

#include <Bitmap.h>

#include <memory>
#include <vector>

#include "GameFixture.h"

namespace {

class PaletteDrag : public kxtest::GameTest {
protected:
	static BPoint
	Slot(int32 color)
	{
		return InWindow(kxtest::Middle(PaletteSlotRect(color)));
	}

	// Presses and releases without moving; false when the view slept on the
	// clock for it a number of times other than expected.
	bool
	Click(BPoint board, int64 waits)
	{
		int64 sleeps = clock.CountSleeps();
		Gesture(InWindow(board), InWindow(board), false);
		return clock.CountSleeps() == sleeps + waits;
	}
};

// Every slot by its middle, and the lines slots share: y 97 lies on red's
// and yellow's edge and goes to red; y 225 is white's last line. Each drag
// shows a copy of the peg at half opacity, ten pixels in from the pointer,
// and the fifth peg of a row scores it.
TEST_F(PaletteDrag, ADragFromEachSlotPlacesThatColourUnderAHalfOpaqueCopy)
{
	std::vector<std::pair<BPoint, int32>> drags = { { InWindow(BPoint(144, 97)),
														PEG_RED },
		{ InWindow(BPoint(144, 225)), PEG_WHITE } };
	for (int32 color = 0; color < kPegColorCount; color++)
		drags.push_back({ Slot(color), color });
	SetSecret(Sequence(8, 7, 6, 5, 4));
	for (size_t i = 0; i < drags.size(); i++) {
		auto [from, color] = drags[i];
		SCOPED_TRACE(testing::Message() << "drag " << i);
		int32 row = State().currentRow;
		Gesture(from, InWindow(Hole(row, i % 5)));
		EXPECT_EQ(State().colors[row][i % 5], color);
		EXPECT_EQ(Broken(), "");

		BPoint					 offset;
		std::unique_ptr<BBitmap> image = harness.display.TakeDragImage(&offset);
		ASSERT_NE(image, nullptr);
		EXPECT_EQ(offset, BPoint(10, 10));
		// The peg itself stays opaque.
		const BBitmap* peg = view->pegBitmaps[color];
		ASSERT_EQ(image->Bounds(), peg->Bounds());
		const uint8* source = static_cast<const uint8*>(peg->Bits());
		const uint8* copy = static_cast<const uint8*>(image->Bits());
		for (int32 b = 0; b < peg->BitsLength(); b++) {
			uint8 alpha = source[b | 3] == 0 ? 0 : 150;
			ASSERT_EQ(copy[b], (b & 3) == 3 ? alpha : source[b])
				<< "byte " << b;
		}
		EXPECT_EQ(source[8 * peg->BytesPerRow() + 8 * 4 + 3], 255);
	}
	EXPECT_EQ(State().currentRow, 11);
}

// A plain click activates the window and sends nothing. Both edges belong
// to the palette; the lines around it do not. Nor does anything wait after
// the game, nor while the computer plays.
TEST_F(PaletteDrag, OnlyPressesOnThePaletteInTheUsersGameWait)
{
	int32			   raises = harness.display.CountRaises(window);
	kxtest::BoardState before = State();
	const struct {
		BPoint where;
		bool   waits;
	} presses[] = {
		{ kxtest::Middle(PaletteSlotRect(3)), true },
		{ BPoint(144, 80), false },
		{ BPoint(153, 100), false },
		{ BPoint(16, 217), false },
		{ BPoint(135, 90), false },
		{ BPoint(144, 226), false },
		{ BPoint(136, 100), true },
		{ BPoint(152, 100), true },
	};
	for (const auto& press : presses) {
		EXPECT_TRUE(Click(press.where, press.waits))
			<< press.where.x << "," << press.where.y;
	}
	EXPECT_TRUE(State() == before);
	EXPECT_GE(harness.display.CountRaises(window), raises);
	EXPECT_TRUE(window->IsFront());

	Locked([&] { view->GiveUp(); });
	EXPECT_TRUE(Click(BPoint(144, 90), 0));
	window->PostMessage(MSG_CPU_PLAY);
	ASSERT_TRUE(clock.WaitForSleepers(1)); // the player's first pause
	EXPECT_TRUE(Click(BPoint(144, 90), 0));
}

} // namespace
