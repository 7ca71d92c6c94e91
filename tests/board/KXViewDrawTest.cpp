// The board's picture on the headless screen, pixel for pixel against the
// images it is made of.

#include <Bitmap.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "GameFixture.h"

namespace {

// 0xAARRGGBB of a B_RGB32 bitmap's pixel.
uint32
ImagePixel(const BBitmap* bitmap, int32 x, int32 y)
{
	const uint8* p = static_cast<const uint8*>(bitmap->Bits())
		+ y * bitmap->BytesPerRow() + x * 4;
	return ((uint32)p[3] << 24) | (p[2] << 16) | (p[1] << 8) | p[0];
}

class BoardPicture : public kxtest::GameTest {
protected:
	// What the screen shows at a point of the board view.
	uint32
	Screen(int32 x, int32 y)
	{
		BPoint where = InWindow(BPoint(x, y));
		return harness.display.PixelAt(window, (int32)where.x, (int32)where.y)
			& 0xffffff;
	}

	uint32
	Background(int32 x, int32 y)
	{
		return ImagePixel(view->boardBitmap, x, y) & 0xffffff;
	}

	void
	Redraw()
	{
		Locked([&] { view->Invalidate(kBoardArea); });
		ASSERT_TRUE(Settle());
	}

	void
	PutPeg(int32 row, int32 hole, int32 color)
	{
		Locked([&] {
			view->pegs[row][hole].bitmap = view->pegBitmaps[color];
			view->pegs[row][hole].colorIndex = color;
		});
	}

	// Every pixel of a 17 by 17 square shows the peg where it is opaque
	// and the background where it is keyed out.
	void
	ExpectPeg(int32 left, int32 top, int32 color)
	{
		const BBitmap* peg = view->pegBitmaps[color];
		for (int32 y = 0; y < 17; y++) {
			for (int32 x = 0; x < 17; x++) {
				uint32 pixel = ImagePixel(peg, x, y);
				uint32 expected = (pixel >> 24) == 255
					? pixel & 0xffffff
					: Background(left + x, top + y);
				ASSERT_EQ(Screen(left + x, top + y), expected)
					<< "colour " << color << " at " << left + x << ","
					<< top + y;
			}
		}
	}

	void
	ExpectBackground(BRect area)
	{
		for (int32 y = (int32)area.top; y <= (int32)area.bottom; y++) {
			for (int32 x = (int32)area.left; x <= (int32)area.right; x++)
				ASSERT_EQ(Screen(x, y), Background(x, y))
					<< "at " << x << "," << y;
		}
	}
};

TEST_F(BoardPicture, PegsCoverTheBoardWhereOpaqueAndTheSecretOnlyAtTheEnd)
{
	ASSERT_NE(view->boardBitmap, nullptr);
	ExpectBackground(kBoardArea);

	SetSecret(Sequence(8, 7, 6, 5, 4));
	PutPeg(13, 0, PEG_RED);
	PutPeg(5, 4, PEG_WHITE);
	Redraw();
	ExpectPeg(8, 209, PEG_RED);
	ExpectPeg(72, 81, PEG_WHITE);
	ExpectBackground(BRect(0, 232, 159, 248));

	// A hole whose colour is -1 is not drawn, whatever its bitmap.
	Locked([&] {
		view->pegs[5][4].colorIndex = PEG_NONE;
		view->GiveUp();
	});
	ASSERT_TRUE(Settle());
	ExpectBackground(BRect(72, 81, 88, 97));
	for (int32 i = 0; i < 5; i++)
		ExpectPeg(8 + 16 * i, 232, 8 - i);
}

// Each peg image is cut out of the corner and shows the colour of its
// palette slot; the board is a JPEG, so near, not equal.
TEST_F(BoardPicture, EachPegShowsItsSlotsColourWithTheCornersKeyedOut)
{
	for (int32 color = 0; color < kPegColorCount; color++) {
		const BBitmap* peg = view->pegBitmaps[color];
		uint32		   middle = ImagePixel(peg, 8, 8);
		uint32		   slot = Background(144, 89 + 16 * color);
		int32		   difference = 0;
		for (int32 shift = 0; shift < 24; shift += 8)
			difference += abs((int32)((middle >> shift) & 0xff)
				- (int32)((slot >> shift) & 0xff));
		EXPECT_LT(difference, 24) << "colour " << color;
		EXPECT_EQ(middle >> 24, 255u) << "colour " << color;
		EXPECT_EQ(ImagePixel(peg, 0, 0) >> 24, 0u) << "colour " << color;
	}
}

TEST_F(BoardPicture, EachMarkIsADiscOfNinePixelsInItsPlace)
{
	// Mark place p of row r covers x 88 + 8p to 96 + 8p, y 1 + 16r to
	// 9 + 16r; the marks here have no neighbour to overlap them, and no
	// mark or an unknown value draws nothing. Pixels in each of the disc's
	// nine lines, centred.
	const int32 kDiscWidths[9] = { 5, 7, 9, 9, 9, 9, 9, 7, 5 };
	const int32 kNoInk = -1;
	const struct {
		int32 row;
		int32 place;
		int32 hint;
		int32 ink;
	} marks[] = {
		{ 0, 0, HINT_EXACT, 0x000000 },
		{ 6, 2, HINT_COLOR, 0xffffff },
		{ 13, 4, HINT_EXACT, 0x000000 },
		{ 9, 3, HINT_NONE, kNoInk },
		{ 9, 4, 7, kNoInk },
	};
	Locked([&] {
		for (const auto& mark : marks)
			view->hints[mark.row][mark.place] = mark.hint;
	});
	Redraw();

	for (const auto& mark : marks) {
		const int32 left = 88 + 8 * mark.place;
		const int32 top = 1 + 16 * mark.row;
		// One pixel of board all round the disc.
		for (int32 y = top - 1; y <= top + 9; y++) {
			for (int32 x = left - 1; x <= left + 9; x++) {
				bool inside = mark.ink != kNoInk && y >= top && y < top + 9
					&& 2 * abs(x - left - 4) < kDiscWidths[y - top];
				ASSERT_EQ(
					Screen(x, y), inside ? (uint32)mark.ink : Background(x, y))
					<< "row " << mark.row << " place " << mark.place << " at "
					<< x << "," << y;
			}
		}
	}
}

} // namespace
