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

class ButtonTest : public WindowFixture {
protected:
	void
	SetUp() override
	{
		window = new RecordingWindow(BRect(140, 40, 350, 175));
		button = new BButton(
			BRect(10, 80, 200, 80), "", "Kalvex Web Page", new BMessage(7));
		window->AddChild(button);
		Open();
	}

	// A point of the button's face, left of its label.
	uint32
	Face()
	{
		return PixelAt(BPoint(20, 85));
	}

	BButton*	 button = nullptr;
	const BPoint inside { 100, 90 };
	const BPoint outside { 100, 130 };
};

TEST_F(ButtonTest, ClickInsideSendsAndReleaseOutsideDoesNot)
{
	EXPECT_EQ(button->Target(), window);
	uint32 idle = Face();
	ASSERT_TRUE(Press(inside));
	EXPECT_NE(Face(), idle);
	ASSERT_TRUE(MoveHeld(outside));
	EXPECT_EQ(Face(), idle);
	ASSERT_TRUE(Release());
	EXPECT_TRUE(window->Codes().empty());

	// Out and back in before the release still counts.
	ASSERT_TRUE(Press(inside));
	ASSERT_TRUE(MoveHeld(outside));
	ASSERT_TRUE(MoveHeld(inside));
	EXPECT_NE(Face(), idle);
	ASSERT_TRUE(Release());
	EXPECT_EQ(Face(), idle);
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
