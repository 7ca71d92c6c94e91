// A whole session: start, a game by the user, a game by the computer, the
// About box, and Quit. Under the address sanitizer the leak checker then
// looks for anything the session allocated and lost.

#include <gtest/gtest.h>

#include "AboutBox.h"
#include "GameFixture.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {

class Session : public kxtest::GameTest { };

TEST_F(Session, StartPlayAboutQuitLosesNothing)
{
	// The user wins in two rows.
	SetSecret(Sequence(4, 3, 2, 1, 0));
	PlayRow(Sequence(0, 1, 2, 3, 4));
	PlayRow(Sequence(4, 3, 2, 1, 0));
	EXPECT_FALSE(State().gameActive);

	// The computer plays a game to its end.
	StartPlayer(Sequence(8, 7, 6, 5, 4));
	FinishPlayer();
	EXPECT_FALSE(State().cpuActive);
	EXPECT_FALSE(State().gameActive);

	window->PostMessage(MSG_ABOUT);
	ASSERT_TRUE(Settle());
	EXPECT_FALSE(app->aboutBox->IsHidden());
	app->aboutBox->PostMessage(MSG_ABOUT_OK);
	ASSERT_TRUE(Settle(app->aboutBox));

	window->PostMessage(MSG_QUIT);
	ASSERT_TRUE(harness.WaitForQuit());
	delete app;
	app = nullptr;

#if defined(__SANITIZE_ADDRESS__)
	EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

} // namespace
