// The board's picture on the headless screen, pixel for pixel against the
// images it is made of.

#include <Bitmap.h>

#include <gtest/gtest.h>

#include <cstring>

#include "GameFixture.h"

namespace {

// 0xRRGGBB of a B_RGB32 bitmap's pixel, and its alpha.
uint32
ImagePixel(const BBitmap* bitmap, int32 x, int32 y)
{
	const uint8* p = static_cast<const uint8*>(bitmap->Bits())
		+ y * bitmap->BytesPerRow() + x * 4;
	return (p[2] << 16) | (p[1] << 8) | p[0];
}

uint8
ImageAlpha(const BBitmap* bitmap, int32 x, int32 y)
{
	return static_cast<const uint8*>(
		bitmap->Bits())[y * bitmap->BytesPerRow() + x * 4 + 3];
}

class BoardPicture : public kxtest::GameTest {
protected:
	void
	SetUp() override
	{
		kxtest::GameTest::SetUp();
		ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
	}

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
		return ImagePixel(view->boardBitmap, x, y);
	}

	void
	Redraw(BRect area = kBoardArea)
	{
		window->Lock();
		view->Invalidate(area);
		window->Unlock();
		ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
	}

	void
	PutPeg(int32 row, int32 hole, int32 color)
	{
		window->Lock();
		view->pegs[row][hole].bitmap = view->pegBitmaps[color];
		view->pegs[row][hole].colorIndex = color;
		window->Unlock();
	}

	// Every pixel of a 17 by 17 square shows the peg where it is opaque
	// and the background where it is keyed out.
	void
	ExpectPeg(int32 left, int32 top, int32 color)
	{
		const BBitmap* peg = view->pegBitmaps[color];
		for (int32 y = 0; y < 17; y++) {
			for (int32 x = 0; x < 17; x++) {
				uint32 expected = ImageAlpha(peg, x, y) == 255
					? ImagePixel(peg, x, y)
					: Background(left + x, top + y);
				ASSERT_EQ(Screen(left + x, top + y), expected)
					<< "at " << left + x << "," << top + y;
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

TEST_F(BoardPicture, TheFirstPictureIsTheBackgroundAlone)
{
	ASSERT_NE(view->boardBitmap, nullptr);
	ExpectBackground(BRect(0, 0, 159, 248));
}

TEST_F(BoardPicture, APegCoversTheBoardOnlyWhereItIsOpaque)
{
	PutPeg(13, 0, PEG_RED);
	PutPeg(5, 4, PEG_WHITE);
	Redraw();
	ExpectPeg(8, 209, PEG_RED);
	ExpectPeg(72, 81, PEG_WHITE);
	// A hole whose colour is -1 is not drawn, whatever its bitmap.
	window->Lock();
	view->pegs[5][4].colorIndex = PEG_NONE;
	window->Unlock();
	Redraw();
	ExpectBackground(BRect(72, 81, 88, 97));
}

TEST_F(BoardPicture, MarksAreBlackAndWhiteDiscsInTheirPlaces)
{
	window->Lock();
	const int32 marks[5] = { HINT_EXACT, HINT_EXACT, HINT_COLOR, HINT_NONE, 7 };
	for (int32 i = 0; i < 5; i++)
		view->hints[13][i] = marks[i];
	window->Unlock();
	Redraw();
	EXPECT_EQ(Screen(92, 213), 0x000000u);
	EXPECT_EQ(Screen(100, 213), 0x000000u);
	EXPECT_EQ(Screen(108, 213), 0xffffffu);
	// The disc is round: its corners show the board.
	EXPECT_EQ(Screen(88, 209), Background(88, 209));
	EXPECT_EQ(Screen(96, 217), Background(96, 217));
	// No mark and an unknown value draw nothing.
	ExpectBackground(BRect(113, 209, 128, 217));
}

TEST_F(BoardPicture, TheSecretShowsOnlyOnceTheGameIsOver)
{
	SetSecret(Sequence(8, 7, 6, 5, 4));
	Redraw();
	ExpectBackground(BRect(0, 232, 159, 248));
	window->Lock();
	view->GiveUp();
	window->Unlock();
	ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
	for (int32 i = 0; i < 5; i++)
		ExpectPeg(8 + 16 * i, 232, 8 - i);
}

TEST_F(BoardPicture, APartialUpdateCopiesOnlyItsRectangle)
{
	PutPeg(0, 0, PEG_BLUE);
	PutPeg(0, 2, PEG_GREEN);
	// Only hole 2 is asked for: hole 0 stays as the screen had it.
	Redraw(BRect(40, 1, 56, 17));
	ExpectPeg(40, 1, PEG_GREEN);
	ExpectBackground(BRect(8, 1, 23, 17));
}

} // namespace
