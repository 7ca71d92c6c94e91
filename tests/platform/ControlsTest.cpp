#include <Button.h>
#include <StringView.h>

#include <gtest/gtest.h>

#include <cmath>

#include "ControlsTestSupport.h"

namespace {

using namespace kxtest;

TEST(Button, FrameWithoutHeightTakesTheHeightItsFontNeeds)
{
	font_height height;
	be_plain_font->GetHeight(&height);
	float	lineHeight = ceilf(height.ascent + height.descent + height.leading);
	BButton web(BRect(10, 80, 200, 80), "", "Kalvex Web Page", nullptr);
	EXPECT_EQ(web.Frame().LeftTop(), BPoint(10, 80));
	EXPECT_EQ(web.Frame().Width(), 190);
	EXPECT_GE(web.Frame().Height() + 1, lineHeight + 4);
	// Buttons 25 pixels apart do not overlap with the default font.
	EXPECT_LT(web.Frame().Height(), 25);
	BButton tall(BRect(0, 0, 50, 40), "", "Tall", nullptr);
	EXPECT_EQ(tall.Frame(), BRect(0, 0, 50, 40));
}

// A window of the About box's shape: a plain view, then three navigable
// buttons with one that is not navigable among them.
class Buttons : public WindowFixture {
protected:
	void
	SetUp() override
	{
		window = new RecordingWindow(BRect(140, 40, 350, 175));
		keys = new ProbeView(BRect(0, 0, 200, 20));
		window->AddChild(keys);
		web = new BButton(
			BRect(10, 30, 200, 30), "", "Kalvex Web Page", new BMessage(7));
		window->AddChild(web);
		plain = new BButton(BRect(10, 55, 200, 55), "", "Plain",
			new BMessage(8), B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW);
		window->AddChild(plain);
		ok = new BButton(BRect(10, 80, 200, 80), "", "OK", new BMessage(6));
		window->AddChild(ok);
		last =
			new BButton(BRect(10, 105, 200, 105), "", "Last", new BMessage(9));
		window->AddChild(last);
		Open();
	}

	BView*
	Focus()
	{
		window->Lock();
		BView* focus = window->CurrentFocus();
		window->Unlock();
		return focus;
	}

	// How many pixels of the focus mark the button shows.
	int32
	FocusPixels(BButton* button)
	{
		BRect frame = button->Frame();
		int32 count = 0;
		for (int32 y = (int32)frame.top; y <= (int32)frame.bottom; y++) {
			for (int32 x = (int32)frame.left; x <= (int32)frame.right; x++)
				count += PixelAt(BPoint(x, y)) == 0x0000e5;
		}
		return count;
	}

	ProbeView* keys = nullptr;
	BButton*   web = nullptr;
	BButton*   plain = nullptr;
	BButton*   ok = nullptr;
	BButton*   last = nullptr;
};

TEST_F(Buttons,
	TabWalksTheNavigableViewsAndTheFocusedButtonShowsAndTakesSpaceOrEnter)
{
	// Without a focused view the window keeps the keys itself.
	EXPECT_EQ(Focus(), nullptr);
	ASSERT_TRUE(Type('x'));
	EXPECT_EQ(window->Codes(), std::vector<uint32> { B_KEY_DOWN });
	EXPECT_EQ(FocusPixels(web) + FocusPixels(ok) + FocusPixels(last), 0);

	// Shift+Tab from nothing goes to the last control, the About box's OK.
	struct Step {
		uint32	 modifiers;
		BButton* focus;
	} steps[] = {
		{ B_SHIFT_KEY, last },
		{ 0, web },
		{ 0, ok },
		{ 0, last },
		{ B_SHIFT_KEY, ok },
		{ B_SHIFT_KEY, web },
		{ B_SHIFT_KEY, last },
	};
	for (const Step& step : steps) {
		ASSERT_TRUE(Type(B_TAB, 0x26, step.modifiers));
		EXPECT_EQ(Focus(), step.focus);
		for (BButton* button : { web, plain, ok, last })
			EXPECT_EQ(FocusPixels(button) > 0, button == step.focus);
	}

	// Space and Enter invoke the focused button as a click does; other keys
	// do not.
	ASSERT_TRUE(Type(B_SPACE));
	ASSERT_TRUE(Type('a'));
	ASSERT_TRUE(Type(B_TAB));
	ASSERT_TRUE(Type(B_ENTER));
	EXPECT_EQ(window->Codes(), (std::vector<uint32> { B_KEY_DOWN, 9, 7 }));
}

TEST_F(Buttons, FocusedViewTakesKeysUntilItLeaves)
{
	window->Lock();
	keys->MakeFocus(true);
	window->Unlock();
	ASSERT_TRUE(Type('7'));
	EXPECT_EQ(keys->typed, "7");
	EXPECT_TRUE(window->Codes().empty());

	// Tab from a view that is not navigable goes to the first control.
	ASSERT_TRUE(Type(B_TAB));
	EXPECT_EQ(Focus(), web);

	window->Lock();
	window->RemoveChild(web);
	EXPECT_EQ(window->CurrentFocus(), nullptr);
	window->Unlock();
	delete web;
	web = nullptr;
	ASSERT_TRUE(Type('y'));
	EXPECT_EQ(window->Codes(), std::vector<uint32> { B_KEY_DOWN });
	// Tab from nothing goes to the first control left.
	ASSERT_TRUE(Type(B_TAB));
	EXPECT_EQ(Focus(), ok);
}

TEST_F(Buttons, ClickInsideSendsAndReleaseOutsideDoesNot)
{
	EXPECT_EQ(web->Target(), window);
	// A point of the button's face, left of its label.
	auto		 face = [this] { return PixelAt(BPoint(20, 35)); };
	const BPoint inside(100, 40);
	const BPoint outside(205, 40);
	uint32		 idle = face();
	ASSERT_TRUE(Press(inside));
	EXPECT_NE(face(), idle);
	ASSERT_TRUE(MoveHeld(outside));
	EXPECT_EQ(face(), idle);
	ASSERT_TRUE(Release());
	EXPECT_TRUE(window->Codes().empty());

	// Out and back in before the release still counts.
	ASSERT_TRUE(Press(inside));
	ASSERT_TRUE(MoveHeld(outside));
	ASSERT_TRUE(MoveHeld(inside));
	EXPECT_NE(face(), idle);
	ASSERT_TRUE(Release());
	EXPECT_EQ(face(), idle);
	ASSERT_TRUE(ClickAt(inside));
	EXPECT_EQ(window->Codes(), (std::vector<uint32> { 7, 7 }));
}

using StringViewTest = WindowFixture;

TEST_F(StringViewTest, DrawsItsTextOnTheWindowsBackgroundInsideItsFrameOnly)
{
	window = new RecordingWindow(BRect(140, 40, 350, 175));
	// Wider than the window, as the About box's lines are.
	auto* line = new BStringView(
		BRect(10, 25, 340, 35), "", "Check readme.txt for more information");
	window->AddChild(line);
	Open();

	int inside = 0;
	int outside = 0;
	int atRightEdge = 0;
	for (int32 y = 0; y <= 135; y++) {
		for (int32 x = 0; x <= 210; x++) {
			uint32 pixel = PixelAt(BPoint(x, y));
			bool   inFrame = x >= 10 && y >= 25 && y <= 35;
			if (IsInk(pixel)) {
				(inFrame ? inside : outside)++;
				atRightEdge += x >= 200;
			} else {
				// No white band: the text lies on its parent's colour.
				ASSERT_NE(pixel, 0xffffffu) << x << "," << y;
			}
		}
	}
	EXPECT_GT(inside, 50);
	EXPECT_EQ(outside, 0);
	// The line runs on to the window's edge, where the window cuts it.
	EXPECT_GT(atRightEdge, 0);

	window->Lock();
	line->SetText("");
	window->Unlock();
	ASSERT_TRUE(Idle(window));
	for (int32 x = 10; x <= 210; x++)
		ASSERT_FALSE(IsInk(PixelAt(BPoint(x, 31)))) << x;
}

} // namespace
