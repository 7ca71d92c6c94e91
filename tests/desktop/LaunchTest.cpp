#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Application.h>
#include <Roster.h>
#include <Window.h>

#include <atomic>
#include <memory>

#include "HeadlessApp.h"
#include "LaunchRendezvous.h"

namespace {

using BPrivate::LaunchRendezvous;

// Unique per test and process, so that parallel runs never meet.
std::string
TestName(const char* tag)
{
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return BPrivate::LaunchRendezvousName("application/x-vnd-KalvexTest",
        (std::string(info->name()) + "/" + tag + "/" + std::to_string(getpid())).c_str(),
        B_SINGLE_LAUNCH);
}

TEST(LaunchRendezvousTest, LaterCopiesAskTheFirstAndAreTurnedAway)
{
    std::string name = TestName("a");
    std::atomic<int> asked{0};
    LaunchRendezvous first;
    ASSERT_EQ(first.Claim(name, [&] { asked++; }), BPrivate::LAUNCH_CLAIMED);

    // The answer comes after the hook, so the count is final on return.
    for (int copy = 1; copy <= 2; copy++) {
        LaunchRendezvous later;
        EXPECT_EQ(later.Claim(name, [] { FAIL() << "a later copy was asked"; }),
            BPrivate::LAUNCH_ALREADY_RUNNING);
        EXPECT_EQ(asked.load(), copy);
    }

    LaunchRendezvous other;
    EXPECT_EQ(other.Claim(TestName("b"), nullptr), BPrivate::LAUNCH_CLAIMED);
    EXPECT_EQ(asked.load(), 2);
}

TEST(LaunchRendezvousTest, TheNameIsFreeAgainOnceTheFirstCopyIsGone)
{
    std::string name = TestName("a");
    {
        LaunchRendezvous first;
        ASSERT_EQ(first.Claim(name, nullptr), BPrivate::LAUNCH_CLAIMED);
    }
    LaunchRendezvous next;
    EXPECT_EQ(next.Claim(name, nullptr), BPrivate::LAUNCH_CLAIMED);
}

TEST(LaunchRendezvousTest, NamesFollowTheLaunchMode)
{
    using BPrivate::LaunchRendezvousName;
    const char* sig = "application/x-vnd-Kalvex";
    // Single launch: one copy per executable file.
    EXPECT_NE(LaunchRendezvousName(sig, "/usr/bin/kalvex", B_SINGLE_LAUNCH),
        LaunchRendezvousName(sig, "/opt/bin/kalvex", B_SINGLE_LAUNCH));
    // Exclusive launch: one copy per signature, wherever it lies.
    EXPECT_EQ(LaunchRendezvousName(sig, "/usr/bin/kalvex", B_EXCLUSIVE_LAUNCH),
        LaunchRendezvousName(sig, "/opt/bin/kalvex", B_EXCLUSIVE_LAUNCH));
    EXPECT_NE(LaunchRendezvousName(sig, "/usr/bin/kalvex", B_EXCLUSIVE_LAUNCH),
        LaunchRendezvousName("application/x-vnd-Other", "/usr/bin/kalvex",
            B_EXCLUSIVE_LAUNCH));
    // Other users' copies are not this user's.
    std::string user = "/";
    user += std::to_string(getuid());
    user += "/";
    EXPECT_NE(LaunchRendezvousName(sig, "/usr/bin/kalvex", B_SINGLE_LAUNCH).find(user),
        std::string::npos);
}

TEST(LaunchFlagsTest, ReadFromTheExecutablesResources)
{
    // The game's resources ask for a single launch.
    EXPECT_EQ(BPrivate::LaunchFlagsOf(KX_GAME_EXECUTABLE) & B_LAUNCH_MASK,
        (uint32)B_SINGLE_LAUNCH);
    // Without a resource block nothing restricts the launch.
    EXPECT_EQ(BPrivate::LaunchFlagsOf("/proc/self/exe"), (uint32)B_MULTIPLE_LAUNCH);
    EXPECT_EQ(BPrivate::LaunchFlagsOf("/nonexistent/kalvex"), (uint32)B_MULTIPLE_LAUNCH);
}

class PlainApp : public BApplication {
public:
    PlainApp() : BApplication("application/x-vnd-KalvexTest") {}
};

TEST(RelaunchTest, ARelaunchBringsTheFrontWindowForward)
{
    kxtest::HeadlessApp harness;
    std::unique_ptr<PlainApp> app(new PlainApp);
    BWindow* back = new BWindow(BRect(10, 10, 100, 100), "back", B_TITLED_WINDOW, 0);
    BWindow* front = new BWindow(BRect(50, 50, 150, 150), "front", B_TITLED_WINDOW, 0);
    back->Show();
    front->Show();
    harness.Start();
    ASSERT_TRUE(kxtest::HeadlessApp::Settle(front));
    int32 frontRaises = harness.display.CountRaises(front);
    int32 backRaises = harness.display.CountRaises(back);

    // The road a second launch takes: its request reaches the listening
    // copy, which posts the relaunch to its application.
    LaunchRendezvous first;
    ASSERT_EQ(first.Claim(TestName("a"), [] { be_app->PostMessage(B_SILENT_RELAUNCH); }),
        BPrivate::LAUNCH_CLAIMED);
    LaunchRendezvous second;
    ASSERT_EQ(second.Claim(TestName("a"), nullptr), BPrivate::LAUNCH_ALREADY_RUNNING);
    ASSERT_TRUE(kxtest::HeadlessApp::Settle(be_app));

    EXPECT_EQ(harness.display.CountRaises(front), frontRaises + 1);
    EXPECT_EQ(harness.display.CountRaises(back), backRaises);
    EXPECT_TRUE(harness.Quit());
}

} // namespace
