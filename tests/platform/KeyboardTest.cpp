#include <Button.h>

#include <gtest/gtest.h>

#include "ControlsTestSupport.h"

namespace {

using namespace kxtest;

// A window of the About box's shape: a plain view, then three navigable
// buttons with one that is not navigable among them.
class KeyboardTest : public WindowFixture {
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

TEST_F(KeyboardTest,
	TabWalksTheNavigableViewsAndTheFocusedButtonShowsAndTakesSpaceOrEnter)
{
	// Without a focused view the window keeps the keys itself.
	EXPECT_EQ(Focus(), nullptr);
	ASSERT_TRUE(Type('x'));
	EXPECT_EQ(window->Codes(), std::vector<uint32> { B_KEY_DOWN });
	EXPECT_EQ(FocusPixels(web) + FocusPixels(ok) + FocusPixels(last), 0);

	struct Step {
		uint32	 modifiers;
		BButton* focus;
	} steps[] = {
		{ 0, web },
		{ 0, ok },
		{ 0, last },
		{ 0, web },
		{ B_SHIFT_KEY, last },
		{ B_SHIFT_KEY, ok },
		{ B_SHIFT_KEY, web },
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
	EXPECT_EQ(window->Codes(), (std::vector<uint32> { B_KEY_DOWN, 7, 6 }));
}

TEST_F(KeyboardTest, FocusedViewTakesKeysWithTheirCodeAndModifiersUntilItLeaves)
{
	window->Lock();
	keys->MakeFocus(true);
	window->Unlock();
	ASSERT_TRUE(Type('7', 0x18));
	ASSERT_TRUE(Type(B_FUNCTION_KEY, B_F10_KEY, B_CONTROL_KEY));
	EXPECT_EQ(keys->typed,
		std::string("7"
					"\x10"));
	EXPECT_EQ(keys->key, B_F10_KEY);
	EXPECT_EQ(keys->modifiers, B_CONTROL_KEY);
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
}

} // namespace
