// The board played from the keyboard: the same rules as dropped pegs, and
// no effect while the computer plays or once the game is over.

#include <string>

#include "GameFixture.h"

namespace {

using kxtest::BoardState;

const uint32 kCursorColor = 0xffe600;

class KXViewKeyboardTest : public kxtest::GameTest {
protected:
	// Types the keys at the front window: digits are pegs, '<' and '>'
	// the arrows.
	void
	Type(const std::string& keys)
	{
		for (char key : keys) {
			if (key == '<')
				key = B_LEFT_ARROW;
			else if (key == '>')
				key = B_RIGHT_ARROW;
			harness.display.TypeKey(key);
		}
		ASSERT_TRUE(harness.display.WaitForInput());
		ASSERT_TRUE(Settle());
	}

	// Whether the cursor's outline stands around a hole of the current row:
	// its left edge, in window coordinates.
	bool
	CursorOn(int32 row, int32 hole)
	{
		BRect  rect = HoleRect(row, hole).OffsetByCopy(kBoardFrame.LeftTop());
		uint32 pixel = harness.display.PixelAt(
			window, rect.left, (rect.top + rect.bottom) / 2);
		return (pixel & 0xffffff) == kCursorColor;
	}
};

TEST_F(KXViewKeyboardTest, AGameTypedFollowsTheRulesOfDroppedPegs)
{
	Locked([&] { EXPECT_EQ(window->CurrentFocus(), view); });
	SetSecret(Sequence(0, 0, 1, 2, 3));
	EXPECT_FALSE(CursorOn(13, 0));

	// Two to the right, then three pegs: the cursor goes on to the next
	// empty hole, round the end of the row; the fifth peg scores it.
	Type(">>1");
	EXPECT_TRUE(CursorOn(13, 3));
	Type("55");
	EXPECT_TRUE(CursorOn(13, 0));
	Type("12");
	BoardState state = State();
	EXPECT_EQ(state.Row(13), Sequence(0, 1, 0, 4, 4));
	EXPECT_EQ(state.currentRow, 12);
	EXPECT_EQ(Broken(), "");
	EXPECT_TRUE(CursorOn(12, 0));

	// A peg replaces a peg; Left stops at hole 0.
	Type(">9<3<<<");
	state = State();
	EXPECT_EQ(state.colors[12][1], 2);
	EXPECT_EQ(state.CountPegs(12), 1);
	EXPECT_TRUE(CursorOn(12, 0));

	// The next row starts on hole 0, whichever hole the row ended on.
	Type(">>>>>1234");
	EXPECT_EQ(State().Row(12), Sequence(1, 2, 2, 3, 0));
	Type("11234");
	state = State();
	EXPECT_FALSE(state.gameActive);
	EXPECT_EQ(state.currentRow, 11);
	EXPECT_EQ(Broken(), "");
	EXPECT_FALSE(CursorOn(11, 0));

	// Once the game is over the keys change nothing.
	Type(">9");
	EXPECT_TRUE(State() == state);

	// A new game starts the cursor on hole 0 again, wherever it stood.
	for (const char* keys : { ">>>", "7" }) {
		window->PostMessage(MSG_NEW_GAME);
		ASSERT_TRUE(Settle());
		Type(keys);
	}
	EXPECT_EQ(State().colors[13][0], 6);
}

TEST_F(KXViewKeyboardTest, KeysDoNothingWhileTheComputerPlays)
{
	StartPlayer(Sequence(8, 7, 6, 5, 4));
	BoardState before = State();
	ASSERT_EQ(before.CountPegs(13), 1);
	Type(">>9<1");
	EXPECT_TRUE(State() == before);
	EXPECT_FALSE(CursorOn(13, 0) || CursorOn(13, 1) || CursorOn(13, 2));
	FinishPlayer();
}

} // namespace
