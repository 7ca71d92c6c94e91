// What a player sees and gets that no other test looks at exactly: every
// colour in the secret, the exact place of each mark, the drag image under
// the pointer, and the address handed to the browser.

#include <Bitmap.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <unistd.h>

#include "AboutBox.h"
#include "GameFixture.h"

namespace {

uint32
ImagePixel(const BBitmap* bitmap, int32 x, int32 y)
{
	const uint8* p = static_cast<const uint8*>(bitmap->Bits())
		+ y * bitmap->BytesPerRow() + x * 4;
	return ((uint32)p[3] << 24) | (p[2] << 16) | (p[1] << 8) | p[0];
}


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


class PlayerSees : public kxtest::GameTest {
protected:
	PlayerSees()
	{
		// The application opens this display instead of the harness's.
		recorder.Install();
	}

	void
	SetUp() override
	{
		kxtest::GameTest::SetUp();
		ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
	}

	void
	MoveTo(BPoint board)
	{
		recorder.MovePointer(
			recorder.WindowToScreen(window, board + BPoint(0, 20)));
		ASSERT_TRUE(recorder.WaitForInput());
	}

	// Presses on a palette point, moves by a pixel once the view polls
	// the pointer, and releases over a hole.
	void
	Drag(BPoint from, BPoint to)
	{
		int64 sleeps = clock.CountSleeps();
		MoveTo(from);
		recorder.Press();
		ASSERT_TRUE(recorder.WaitForInput());
		ASSERT_TRUE(
			RunClockUntil([&] { return clock.CountSleeps() > sleeps; }));
		MoveTo(from + BPoint(1, 0));
		ASSERT_TRUE(clock.AdvanceToNextWakeup());
		ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
		MoveTo(to);
		recorder.Release();
		ASSERT_TRUE(recorder.WaitForInput());
		ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));
	}

	uint32
	Screen(int32 x, int32 y)
	{
		return recorder.PixelAt(window, x, y + 20) & 0xffffff;
	}

	DragRecorder recorder;
};


TEST_F(PlayerSees, EveryColourCanBeInEveryHoleOfTheSecret)
{
	// A fixed seed keeps the draws the same from run to run; 400 games
	// leave a colour out of a hole with a chance of about 1 in 10^19.
	std::set<int32> seen[kBoardHoleCount];
	window->Lock();
	srand(20261206);
	for (int32 game = 0; game < 400; game++) {
		view->Ini();
		for (int32 h = 0; h < kBoardHoleCount; h++) {
			int32 color = view->secret.colors[h];
			ASSERT_EQ(view->secretPegs[h].colorIndex, color);
			ASSERT_EQ(view->secretPegs[h].bitmap, view->pegBitmaps[color]);
			seen[h].insert(color);
		}
	}
	window->Unlock();
	for (int32 h = 0; h < kBoardHoleCount; h++) {
		EXPECT_EQ(seen[h].size(), (size_t)kPegColorCount) << "hole " << h;
		EXPECT_EQ(*seen[h].begin(), PEG_RED) << "hole " << h;
		EXPECT_EQ(*seen[h].rbegin(), PEG_WHITE) << "hole " << h;
	}
}


TEST_F(PlayerSees, EachPegLooksLikeItsPaletteSlotWithTheKeyCutOut)
{
	for (int32 color = 0; color < kPegColorCount; color++) {
		const BBitmap* peg = view->pegBitmaps[color];
		int32		   opaque = 0;
		int32		   difference = 0;
		for (int32 y = 0; y < 17; y++) {
			for (int32 x = 0; x < 17; x++) {
				uint32 pixel = ImagePixel(peg, x, y);
				if ((pixel >> 24) == 0)
					continue;
				ASSERT_EQ(pixel >> 24, 255u);
				uint32 slot =
					ImagePixel(view->boardBitmap, 136 + x, 81 + 16 * color + y);
				for (int32 shift = 0; shift < 24; shift += 8)
					difference += abs((int32)((pixel >> shift) & 0xff)
						- (int32)((slot >> shift) & 0xff));
				opaque++;
			}
		}
		// The board is a JPEG: near, not equal; the corners are keyed out.
		EXPECT_LT(difference, 8 * 3 * opaque) << "colour " << color;
		EXPECT_GT(opaque, 150) << "colour " << color;
		EXPECT_EQ(ImagePixel(peg, 0, 0) >> 24, 0u) << "colour " << color;
	}
}


TEST_F(PlayerSees, EachMarkIsADiscOfNinePixelsInItsPlace)
{
	// Mark place p of row r covers x 88 + 8p to 96 + 8p, y 1 + 16r to
	// 9 + 16r; the marks here have no neighbour to overlap them.
	// Pixels in each of the disc's nine lines, centred.
	const int32 kDiscWidths[9] = { 5, 7, 9, 9, 9, 9, 9, 7, 5 };
	const struct {
		int32  row;
		int32  place;
		int32  hint;
		uint32 ink;
	} marks[] = {
		{ 0, 0, HINT_EXACT, 0x000000 },
		{ 6, 2, HINT_COLOR, 0xffffff },
		{ 13, 4, HINT_EXACT, 0x000000 },
	};
	window->Lock();
	for (const auto& mark : marks)
		view->hints[mark.row][mark.place] = mark.hint;
	view->Invalidate();
	window->Unlock();
	ASSERT_TRUE(kxtest::HeadlessApp::Settle(window));

	for (const auto& mark : marks) {
		const int32 left = 88 + 8 * mark.place;
		const int32 top = 1 + 16 * mark.row;
		// One pixel of board all round the disc.
		for (int32 y = top - 1; y <= top + 9; y++) {
			for (int32 x = left - 1; x <= left + 9; x++) {
				bool inside = y >= top && y < top + 9
					&& 2 * abs(x - left - 4) < kDiscWidths[y - top];
				uint32 expected = inside
					? mark.ink
					: ImagePixel(view->boardBitmap, x, y) & 0xffffff;
				ASSERT_EQ(Screen(x, y), expected)
					<< "row " << mark.row << " place " << mark.place << " at "
					<< x << "," << y;
			}
		}
	}
}


TEST_F(PlayerSees, TheDragImageIsTheSlotsPegAtHalfOpacityTenPixelsIn)
{
	for (int32 color : { PEG_RED, PEG_GREEN, PEG_WHITE }) {
		SCOPED_TRACE(testing::Message() << "colour " << color);
		Drag(BPoint(144, 89 + 16 * color),
			BPoint(16 + 16 * (color % 5), 9 + 16 * 13));
		BPoint					 offset;
		std::unique_ptr<BBitmap> image = recorder.TakeImage(&offset);
		ASSERT_NE(image, nullptr);
		EXPECT_EQ(offset, BPoint(10, 10));

		const BBitmap* peg = view->pegBitmaps[color];
		ASSERT_EQ(image->Bounds(), peg->Bounds());
		for (int32 y = 0; y <= (int32)peg->Bounds().bottom; y++) {
			for (int32 x = 0; x <= (int32)peg->Bounds().right; x++) {
				uint32 source = ImagePixel(peg, x, y);
				uint32 alpha = (source >> 24) == 0 ? 0 : 150;
				ASSERT_EQ(ImagePixel(image.get(), x, y),
					(alpha << 24) | (source & 0xffffff))
					<< "at " << x << "," << y;
			}
		}
	}
}


TEST(AboutBoxAddress, IsTheManualBesideTheGamesPictures)
{
	// The tests run in the source folder, which holds the manual.
	char folder[PATH_MAX];
	ASSERT_NE(getcwd(folder, sizeof(folder)), nullptr);
	ASSERT_EQ(access("kalvex.html", R_OK), 0);
	EXPECT_EQ(AboutBox::WebPageAddress(),
		std::string("file://") + folder + "/kalvex.html");
}

} // namespace
