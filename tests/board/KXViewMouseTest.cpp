// Pegs dragged from the palette with the headless pointer: the press, the
// wait for the gesture on the test clock, the drag, its image and the drop.

#include <Bitmap.h>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <vector>

#include "Desktop.h"
#include "GameFixture.h"

namespace {

// Keeps a copy of the image and the offset of the last drag it is shown.
class DragRecorder : public BPrivate::HeadlessDisplay {
public:
	void
	SetDragImage(const BBitmap* image, BPoint offset) override
	{
		if (image != nullptr) {
			std::lock_guard<std::mutex> guard(fRecordLock);
			fImage.reset(new BBitmap(image));
			fOffset = offset;
		}
		HeadlessDisplay::SetDragImage(image, offset);
	}

	std::unique_ptr<BBitmap>
	TakeImage(BPoint* offset)
	{
		std::lock_guard<std::mutex> guard(fRecordLock);
		*offset = fOffset;
		return std::move(fImage);
	}

private:
	std::mutex				 fRecordLock;
	std::unique_ptr<BBitmap> fImage;
	BPoint					 fOffset;
};


class PaletteDrag : public kxtest::GameTest {
protected:
	// The application opens this display instead of the harness's.
	PaletteDrag() { display.Install(); }

	void
	MoveTo(BPoint board)
	{
		display.MovePointer(display.WindowToScreen(window, InWindow(board)));
		ASSERT_TRUE(display.WaitForInput());
	}

	void
	Release(bool wake = false)
	{
		display.Release();
		ASSERT_TRUE(display.WaitForInput());
		if (wake) {
			ASSERT_TRUE(clock.AdvanceToNextWakeup());
		}
		ASSERT_TRUE(Settle());
	}

	// Presses at a board point; true when the view went on to wait for the
	// gesture (it sleeps on the clock between two readings).
	bool
	PressWaits(BPoint where)
	{
		int64 sleeps = clock.CountSleeps();
		MoveTo(where);
		display.Press();
		EXPECT_TRUE(display.WaitForInput());
		// Either the view sleeps on the clock, or the press is handled.
		kxtest::PollUntil([&] {
			return clock.CountSleeps() != sleeps
				|| BPrivate::TestAccess::IsIdle(window);
		});
		return clock.CountSleeps() > sleeps;
	}

	// Drags the peg of a palette point to a board point.
	void
	Drag(BPoint from, BPoint to)
	{
		ASSERT_TRUE(PressWaits(from));
		MoveTo(from + BPoint(1, 0));
		ASSERT_TRUE(clock.AdvanceToNextWakeup());
		ASSERT_TRUE(Settle());
		EXPECT_TRUE(BPrivate::Desktop::Default()->IsDragging());
		EXPECT_TRUE(display.DragImageShown());
		MoveTo(to);
		Release();
		EXPECT_FALSE(BPrivate::Desktop::Default()->IsDragging());
	}

	static BPoint
	Slot(int32 color)
	{
		return kxtest::Middle(PaletteSlotRect(color));
	}

	DragRecorder display;
};

// Every slot by its middle, and the lines slots share: y 97 lies on red's
// and yellow's edge and goes to red; y 225 is white's last line. Each drag
// shows a copy of the peg at half opacity, ten pixels in from the pointer,
// and the fifth peg of a row scores it.
TEST_F(PaletteDrag, ADragFromEachSlotPlacesThatColourUnderAHalfOpaqueCopy)
{
	std::vector<std::pair<BPoint, int32>> drags = {
		{ BPoint(144, 97), PEG_RED }, { BPoint(144, 225), PEG_WHITE }
	};
	for (int32 color = 0; color < kPegColorCount; color++)
		drags.push_back({ Slot(color), color });
	SetSecret(Sequence(8, 7, 6, 5, 4));
	for (size_t i = 0; i < drags.size(); i++) {
		auto [from, color] = drags[i];
		SCOPED_TRACE(testing::Message() << "drag " << i);
		int32 row = State().currentRow;
		Drag(from, Hole(row, i % 5));
		EXPECT_EQ(State().colors[row][i % 5], color);
		EXPECT_EQ(Broken(), "");

		BPoint					 offset;
		std::unique_ptr<BBitmap> image = display.TakeImage(&offset);
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
	int32			   raises = display.CountRaises(window);
	kxtest::BoardState before = State();
	const struct {
		BPoint where;
		bool   waits;
	} presses[] = {
		{ Slot(3), true },
		{ BPoint(144, 80), false },
		{ BPoint(153, 100), false },
		{ BPoint(16, 217), false },
		{ BPoint(135, 90), false },
		{ BPoint(144, 226), false },
		{ BPoint(136, 100), true },
		{ BPoint(152, 100), true },
	};
	for (const auto& press : presses) {
		EXPECT_EQ(PressWaits(press.where), press.waits)
			<< press.where.x << "," << press.where.y;
		Release(press.waits);
		EXPECT_FALSE(BPrivate::Desktop::Default()->IsDragging());
	}
	EXPECT_TRUE(State() == before);
	EXPECT_GE(display.CountRaises(window), raises);
	EXPECT_TRUE(window->IsFront());

	Locked([&] { view->GiveUp(); });
	EXPECT_FALSE(PressWaits(Slot(0)));
	Release();
	window->PostMessage(MSG_CPU_PLAY);
	ASSERT_TRUE(clock.WaitForSleepers(1)); // the player's first pause
	int64 sleeps = clock.CountSleeps();
	MoveTo(Slot(0));
	display.Press();
	ASSERT_TRUE(display.WaitForInput());
	ASSERT_TRUE(Settle());
	EXPECT_EQ(clock.CountSleeps(), sleeps);
	Release();
}

} // namespace
