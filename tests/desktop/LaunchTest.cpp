#include <gtest/gtest.h>

#include <AppDefs.h>
#include <Application.h>
#include <Roster.h>
#include <Window.h>

#include <atomic>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "HeadlessApp.h"
#include "LaunchRendezvous.h"

extern char** environ;

namespace {

using BPrivate::LaunchRendezvous;

const char* kTestSignature = "application/x-vnd-KalvexTest";


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
		std::string command = "rm -rf '" + fPath + "'";
		EXPECT_EQ(system(command.c_str()), 0);
	}

	std::string fPath;
};

RuntimeFolder* sRuntime = static_cast<RuntimeFolder*>(
	::testing::AddGlobalTestEnvironment(new RuntimeFolder));

// Unique per test and process, so that parallel runs never meet.
std::string
TestExecutable(const char* tag)
{
	const ::testing::TestInfo* info =
		::testing::UnitTest::GetInstance()->current_test_info();
	return std::string(info->name()) + "/" + tag + "/"
		+ std::to_string(getpid());
}

std::string
TestName(const char* tag)
{
	return BPrivate::LaunchRendezvousName(
		kTestSignature, TestExecutable(tag).c_str(), B_SINGLE_LAUNCH);
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


// The squatter program holding the rendezvous of one test name.
class Squatter {
public:
	Squatter(const char* mode, const std::string& executable)
	{
		int out[2];
		if (pipe2(out, O_CLOEXEC) != 0)
			return;
		posix_spawn_file_actions_t actions;
		posix_spawn_file_actions_init(&actions);
		posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
		const char* argv[] = { KX_LAUNCH_SQUATTER, mode, kTestSignature,
			executable.c_str(), nullptr };
		if (posix_spawn(
				&fPid, argv[0], &actions, nullptr, (char**)argv, environ)
			!= 0)
			fPid = -1;
		posix_spawn_file_actions_destroy(&actions);
		close(out[1]);
		// It speaks once it holds the rendezvous, or ends without a word.
		char line[6] = {};
		fReady = read(out[0], line, 5) == 5 && strcmp(line, "ready") == 0;
		close(out[0]);
	}

	~Squatter()
	{
		if (fPid > 0) {
			kill(fPid, SIGKILL);
			waitpid(fPid, nullptr, 0);
		}
	}

	bool fReady = false;

private:
	pid_t fPid = -1;
};

TEST(LaunchRendezvousTest, LaterCopiesAskTheFirstAndAreTurnedAway)
{
	std::string		 name = TestName("a");
	std::atomic<int> asked { 0 };
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
	{
		LaunchRendezvous next;
		EXPECT_EQ(next.Claim(name, nullptr), BPrivate::LAUNCH_CLAIMED);
	}

	// A copy killed outright leaves its socket behind, but not its lock.
	int			stale = socket(AF_UNIX, SOCK_STREAM, 0);
	sockaddr_un address = {};
	address.sun_family = AF_UNIX;
	strncpy(address.sun_path, name.c_str(), sizeof(address.sun_path) - 1);
	ASSERT_EQ(bind(stale, (sockaddr*)&address, sizeof(address)), 0);
	close(stale);
	LaunchRendezvous after;
	EXPECT_EQ(after.Claim(name, nullptr), BPrivate::LAUNCH_CLAIMED);
	EXPECT_EQ(after.Problem(), "");
}


TEST(LaunchRendezvousTest, ARendezvousInDoubtLetsTheCopyStart)
{
	struct Case {
		const char* mode;
		const char* problem;
	};
	const Case cases[] = {
		{ "deaf", "no answer" },
		{ "silent", "no answer" },
		{ "wrong", "no answer" },
		{ "foreign", "another user" },
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.mode);
		// Only root can listen as another user.
		if (strcmp(c.mode, "foreign") == 0 && geteuid() != 0)
			continue;
		std::string executable = TestExecutable(c.mode);
		Squatter	squatter(c.mode, executable);
		ASSERT_TRUE(squatter.fReady);

		LaunchRendezvous later;
		std::string		 name = BPrivate::LaunchRendezvousName(
				 kTestSignature, executable.c_str(), B_SINGLE_LAUNCH);
		EXPECT_EQ(
			later.Claim(name, [] { FAIL() << "a squatter was answered"; }),
			BPrivate::LAUNCH_CLAIM_FAILED);
		EXPECT_NE(later.Problem().find(c.problem), std::string::npos)
			<< later.Problem();
		EXPECT_NE(later.Problem().find(name), std::string::npos)
			<< later.Problem();
	}
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
		LaunchRendezvousName(
			"application/x-vnd-Other", "/usr/bin/kalvex", B_EXCLUSIVE_LAUNCH));
	// The user's own folder holds them.
	EXPECT_EQ(LaunchRendezvousName(sig, "/usr/bin/kalvex", B_SINGLE_LAUNCH)
				  .rfind(BPrivate::LaunchRendezvousDirectory() + "/", 0),
		0u);
}

TEST(LaunchFlagsTest, ReadFromTheExecutablesResources)
{
	// The game's resources ask for a single launch.
	EXPECT_EQ(BPrivate::LaunchFlagsOf(KX_GAME_EXECUTABLE) & B_LAUNCH_MASK,
		(uint32)B_SINGLE_LAUNCH);
	// Without a resource block nothing restricts the launch.
	EXPECT_EQ(
		BPrivate::LaunchFlagsOf("/proc/self/exe"), (uint32)B_MULTIPLE_LAUNCH);
	EXPECT_EQ(BPrivate::LaunchFlagsOf("/nonexistent/kalvex"),
		(uint32)B_MULTIPLE_LAUNCH);
}

class PlainApp : public BApplication {
public:
	PlainApp() :
		BApplication("application/x-vnd-KalvexTest")
	{ }
};

TEST(RelaunchTest, ARelaunchBringsTheFrontWindowForward)
{
	kxtest::HeadlessApp		  harness;
	std::unique_ptr<PlainApp> app(new PlainApp);
	BWindow*				  back =
		new BWindow(BRect(10, 10, 100, 100), "back", B_TITLED_WINDOW, 0);
	BWindow* front =
		new BWindow(BRect(50, 50, 150, 150), "front", B_TITLED_WINDOW, 0);
	back->Show();
	front->Show();
	harness.Start();
	ASSERT_TRUE(kxtest::HeadlessApp::Settle(front));
	int32			 frontRaises = harness.display.CountRaises(front);
	int32			 backRaises = harness.display.CountRaises(back);

	// The road a second launch takes: its request reaches the listening
	// copy, which posts the relaunch to its application.
	LaunchRendezvous first;
	ASSERT_EQ(first.Claim(TestName("a"),
				  [] { be_app->PostMessage(B_SILENT_RELAUNCH); }),
		BPrivate::LAUNCH_CLAIMED);
	LaunchRendezvous second;
	ASSERT_EQ(
		second.Claim(TestName("a"), nullptr), BPrivate::LAUNCH_ALREADY_RUNNING);
	ASSERT_TRUE(kxtest::HeadlessApp::Settle(be_app));

	EXPECT_EQ(harness.display.CountRaises(front), frontRaises + 1);
	EXPECT_EQ(harness.display.CountRaises(back), backRaises);
	EXPECT_TRUE(harness.Quit());
}

} // namespace
