#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Roster.h>

#include <atomic>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "LaunchRendezvous.h"

namespace {

using BPrivate::LaunchRendezvous;

// Each test program gets a runtime folder of its own, as a session has.
class RuntimeFolder : public ::testing::Environment {
public:
	void
	SetUp() override
	{
		char pattern[] = "/tmp/kx-runtime-XXXXXX";
		ASSERT_NE(mkdtemp(pattern), nullptr);
		fPath = pattern;
		setenv("XDG_RUNTIME_DIR", pattern, 1);
	}

	void
	TearDown() override
	{
		std::filesystem::remove_all(fPath);
	}

	std::string fPath;
};

::testing::Environment* sRuntime =
	::testing::AddGlobalTestEnvironment(new RuntimeFolder);

// The runtime folder is the test program's own, so that parallel runs
// never meet.
std::string
TestName(const char* tag)
{
	return BPrivate::LaunchRendezvousName(
		"application/x-vnd-KalvexTest", tag, B_SINGLE_LAUNCH);
}

// Connects to a rendezvous as a later copy would, without asking anything.
int
ConnectTo(const std::string& name)
{
	int			fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
	sockaddr_un address = {};
	address.sun_family = AF_UNIX;
	strncpy(address.sun_path, name.c_str(), sizeof(address.sun_path) - 1);
	if (fd >= 0 && connect(fd, (sockaddr*)&address, sizeof(address)) != 0) {
		close(fd);
		return -1;
	}
	return fd;
}

// Squatters on the rendezvous and a copy killed outright are played against
// the installed game under Xvfb (launch-squatters.sh, second-launch.sh).
TEST(LaunchRendezvousTest, LaterCopiesAskTheFirstUntilItIsGone)
{
	std::string		 name = TestName("a");
	std::atomic<int> asked { 0 };
	{
		LaunchRendezvous first;
		ASSERT_EQ(
			first.Claim(name, [&] { asked++; }), BPrivate::LAUNCH_CLAIMED);
		// The answer comes after the hook, so the count is final on return.
		for (int copy = 1; copy <= 2; copy++) {
			LaunchRendezvous later;
			EXPECT_EQ(
				later.Claim(name, [] { FAIL() << "a later copy was asked"; }),
				BPrivate::LAUNCH_ALREADY_RUNNING);
			EXPECT_EQ(asked.load(), copy);
		}
		LaunchRendezvous other;
		EXPECT_EQ(
			other.Claim(TestName("b"), nullptr), BPrivate::LAUNCH_CLAIMED);
	}
	LaunchRendezvous next;
	EXPECT_EQ(next.Claim(name, nullptr), BPrivate::LAUNCH_CLAIMED);
	EXPECT_EQ(next.Problem(), "");
	EXPECT_EQ(asked.load(), 2);
}

TEST(LaunchRendezvousTest, OnlyAPrivateFolderOfTheUsersOwnIsUsed)
{
	std::string folder = BPrivate::LaunchRendezvousDirectory();
	ASSERT_EQ(folder.rfind(getenv("XDG_RUNTIME_DIR"), 0), 0u);
	std::string name = TestName("a");
	{
		// A folder left open to others is closed before use.
		mkdir(folder.c_str(), 0777);
		ASSERT_EQ(chmod(folder.c_str(), 0777), 0);
		LaunchRendezvous first;
		EXPECT_EQ(first.Claim(name, nullptr), BPrivate::LAUNCH_CLAIMED);
		struct stat info;
		ASSERT_EQ(lstat(folder.c_str(), &info), 0);
		EXPECT_EQ(info.st_mode & 0777, 0700u);
	}

	// A link could lead anywhere, to a folder that others can write.
	std::string moved = folder + ".real";
	ASSERT_EQ(rename(folder.c_str(), moved.c_str()), 0);
	ASSERT_EQ(symlink(moved.c_str(), folder.c_str()), 0);
	LaunchRendezvous linked;
	EXPECT_EQ(linked.Claim(name, nullptr), BPrivate::LAUNCH_CLAIM_FAILED);
	EXPECT_NE(linked.Problem().find(folder), std::string::npos);
	unlink(folder.c_str());
	ASSERT_EQ(rename(moved.c_str(), folder.c_str()), 0);
}


TEST(LaunchRendezvousTest, ALackOfDescriptorsTurnsClientsAwayWithoutSpinning)
{
	std::string		 name = TestName("a");
	std::atomic<int> asked { 0 };
	LaunchRendezvous first;
	ASSERT_EQ(first.Claim(name, [&] { asked++; }), BPrivate::LAUNCH_CLAIMED);
	int client = ConnectTo(name);
	ASSERT_GE(client, 0);

	// Every descriptor number is taken: the listener cannot accept.
	rlimit saved;
	ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
	// Just above the highest descriptor open now, which the listener's
	// spare is among.
	int highest = 0;
	for (const auto& entry :
		std::filesystem::directory_iterator("/proc/self/fd"))
		highest =
			std::max(highest, std::stoi(entry.path().filename().string()));
	rlimit tight = saved;
	tight.rlim_cur = highest + 1;
	ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &tight), 0);
	std::vector<int> fillers;
	for (int fd; (fd = open("/dev/null", O_RDONLY | O_CLOEXEC)) >= 0;)
		fillers.push_back(fd);
	// Makes the request only now, so that it waits in the queue.
	ASSERT_EQ(write(client, "x", 1), 1);

	// The client is taken and let go rather than left queued, where the
	// listener would find it again at once, for ever.
	pollfd hangUp = { client, POLLIN, 0 };
	char   answer;
	EXPECT_EQ(poll(&hangUp, 1, 10000), 1) << "the client was never let go";
	EXPECT_LE(read(client, &answer, 1), 0);
	close(client);
	for (int fd : fillers)
		close(fd);
	ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);

	// Once descriptors are back the listener serves again.
	LaunchRendezvous later;
	EXPECT_EQ(later.Claim(name, nullptr), BPrivate::LAUNCH_ALREADY_RUNNING);
	EXPECT_EQ(asked.load(), 1);
}

// The game's resources ask for a single launch, which keeps one copy per
// executable file; a program without them may run as often as asked.
TEST(LaunchRendezvousTest, NamesFollowTheLaunchModeReadFromTheExecutable)
{
	using BPrivate::LaunchFlagsOf;
	using BPrivate::LaunchRendezvousName;
	EXPECT_EQ(LaunchFlagsOf(KX_GAME_EXECUTABLE) & B_LAUNCH_MASK,
		(uint32)B_SINGLE_LAUNCH);
	EXPECT_EQ(LaunchFlagsOf("/proc/self/exe"), (uint32)B_MULTIPLE_LAUNCH);
	EXPECT_EQ(LaunchFlagsOf("/nonexistent/kalvex"), (uint32)B_MULTIPLE_LAUNCH);
	const char* sig = "application/x-vnd-Kalvex";
	EXPECT_NE(LaunchRendezvousName(sig, "/usr/bin/kalvex", B_SINGLE_LAUNCH),
		LaunchRendezvousName(sig, "/opt/bin/kalvex", B_SINGLE_LAUNCH));
	// Exclusive launch: one copy per signature, wherever it lies.
	EXPECT_EQ(LaunchRendezvousName(sig, "/usr/bin/kalvex", B_EXCLUSIVE_LAUNCH),
		LaunchRendezvousName(sig, "/opt/bin/kalvex", B_EXCLUSIVE_LAUNCH));
	EXPECT_NE(LaunchRendezvousName(sig, "/usr/bin/kalvex", B_EXCLUSIVE_LAUNCH),
		LaunchRendezvousName(
			"application/x-vnd-Other", "/usr/bin/kalvex", B_EXCLUSIVE_LAUNCH));
	EXPECT_EQ(LaunchRendezvousName(sig, "/usr/bin/kalvex", B_SINGLE_LAUNCH)
				  .rfind(BPrivate::LaunchRendezvousDirectory() + "/", 0),
		0u);
}

} // namespace
