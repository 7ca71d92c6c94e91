// The game as a desktop program: its single-launch rendezvous, the lookup
// of its pictures, the screen's scale and the display's wake-up.

#include <gtest/gtest.h>

#include <AppDefs.h>
#include <FindDirectory.h>
#include <Roster.h>
#include <TranslationUtils.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "DataDirectory.h"
#include "LaunchRendezvous.h"
#include "Watchdog.h"
#include "display/DisplayBackend.h"
#include "display/DisplayScale.h"

namespace BPrivate {
DisplayBackend* CreateSDLDisplay();
}

namespace {

namespace fs = std::filesystem;
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
		fs::remove_all(fPath);
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
// the installed game under Xvfb (launch-squatters.sh, second-launch.sh), a
// start while the running copy quits in relaunch-while-quitting.sh.
TEST(LaunchRendezvousTest, LaterCopiesAskTheFirstUntilItIsGone)
{
	std::string			  name = TestName("a");
	std::atomic<int>	  asked { 0 };
	BPrivate::LaunchToken heard;
	{
		LaunchRendezvous first;
		ASSERT_EQ(first.Claim(name,
					  [&](int32 request, const BPrivate::LaunchToken& token) {
						  asked++;
						  heard = token;
						  first.Answer(request);
					  }),
			BPrivate::LAUNCH_CLAIMED);
		// The answer comes after the hook, so the count and the token are
		// final on return. A later copy's launch token reaches the first;
		// one that would not fit a request to the window system does not.
		const BPrivate::LaunchToken tokens[][2] = {
			{ { "wl-1", "kx-7_TIME42" }, { "wl-1", "kx-7_TIME42" } },
			{ { "two words", std::string(300, 'x') }, { "", "" } },
		};
		for (int copy = 1; copy <= 2; copy++) {
			LaunchRendezvous later;
			EXPECT_EQ(later.Claim(
						  name,
						  [](int32, const BPrivate::LaunchToken&) {
							  FAIL() << "a later copy was asked";
						  },
						  tokens[copy - 1][0]),
				BPrivate::LAUNCH_ALREADY_RUNNING);
			EXPECT_EQ(asked.load(), copy);
			EXPECT_EQ(heard.activation, tokens[copy - 1][1].activation);
			EXPECT_EQ(heard.startupId, tokens[copy - 1][1].startupId);
		}
		EXPECT_EQ(BPrivate::StartupIdTime("kx-7_TIME42"), 42u);
		EXPECT_EQ(BPrivate::StartupIdTime("kx-7_TIMEx"), 0u);
		LaunchRendezvous other;
		EXPECT_EQ(
			other.Claim(TestName("b"), nullptr), BPrivate::LAUNCH_CLAIMED);
	}
	LaunchRendezvous next;
	EXPECT_EQ(next.Claim(name, nullptr), BPrivate::LAUNCH_CLAIMED);
	EXPECT_EQ(next.Problem(), "");
	EXPECT_EQ(asked.load(), 2);
}

// A later copy's claim on a thread of its own, as a second process would.
struct LaterCopy {
	explicit LaterCopy(const std::string& name) :
		thread([this, name] {
			result = copy.Claim(name, nullptr);
			done = true;
		})
	{ }

	~LaterCopy() { Result(); }

	BPrivate::launch_claim
	Result()
	{
		if (thread.joinable())
			thread.join();
		return result;
	}

	LaunchRendezvous	   copy;
	std::atomic<bool>	   done { false };
	BPrivate::launch_claim result = BPrivate::LAUNCH_CLAIM_FAILED;
	std::thread			   thread;
};

// The first copy's application is busy (its window still handles the start
// of a quit) when a later copy asks: the later copy hears the last word only
// once the application has it, and a quit that has begun by then sends it
// waiting for the first copy to end, after which it starts on its own.
TEST(LaunchRendezvousTest, ABusyCopyHasTheLastWordAndOneThatLeavesIsWaitedFor)
{
	kxtest::Watchdog   watchdog;
	std::string		   name = TestName("a");
	std::atomic<int32> request { 0 };
	auto			   first = std::make_unique<LaunchRendezvous>();
	ASSERT_EQ(first->Claim(name,
				  [&](int32 asked, const BPrivate::LaunchToken&) {
					  request = asked;
				  }),
		BPrivate::LAUNCH_CLAIMED);
	{
		LaterCopy later(name);
		ASSERT_TRUE(kxtest::PollUntil([&] { return request != 0; }));
		EXPECT_FALSE(later.done) << "answered before the application was";
		first->Answer(request);
		EXPECT_EQ(later.Result(), BPrivate::LAUNCH_ALREADY_RUNNING);
	}

	request = 0;
	LaterCopy later(name);
	ASSERT_TRUE(kxtest::PollUntil([&] { return request != 0; }));
	first->SetLeaving(true);
	// Its own window's word comes too late to count.
	first->Answer(request);
	first.reset();
	EXPECT_EQ(later.Result(), BPrivate::LAUNCH_CLAIMED) << later.copy.Problem();
	EXPECT_EQ(later.copy.Problem(), "");
}

// A copy on its way out has taken its socket away but still holds the lock:
// a later copy keeps trying the lock, rather than the socket alone, and
// takes it once it is free.
TEST(LaunchRendezvousTest, ALockHeldWithoutASocketIsWaitedFor)
{
	kxtest::Watchdog watchdog;
	std::string		 name = TestName("a");
	std::string		 lockPath = name + ".lock";
	mkdir(BPrivate::LaunchRendezvousDirectory().c_str(), 0700);
	int lock = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
	ASSERT_GE(lock, 0);
	ASSERT_EQ(flock(lock, LOCK_EX | LOCK_NB), 0);

	// Every try at the lock opens its file.
	int watch = inotify_init1(IN_CLOEXEC);
	ASSERT_GE(inotify_add_watch(watch, lockPath.c_str(), IN_OPEN), 0);
	LaterCopy later(name);
	for (int opened = 0; opened < 2;) {
		pollfd entry = { watch, POLLIN, 0 };
		ASSERT_EQ(poll(&entry, 1, 10000), 1) << "the lock was tried only once";
		alignas(inotify_event) char events[4096];
		ssize_t length = read(watch, events, sizeof(events));
		for (ssize_t at = 0; at < length;) {
			auto* event = reinterpret_cast<inotify_event*>(events + at);
			opened++;
			at += sizeof(inotify_event) + event->len;
		}
	}
	close(watch);
	close(lock);
	EXPECT_EQ(later.Result(), BPrivate::LAUNCH_CLAIMED) << later.copy.Problem();
}

TEST(LaunchRendezvousTest, OnlyAPrivateFolderOfTheUsersOwnIsUsed)
{
	std::string folder = BPrivate::LaunchRendezvousDirectory();
	ASSERT_EQ(folder.rfind(getenv("XDG_RUNTIME_DIR"), 0), 0u);
	std::string name = TestName("a");
	{
		// A folder open to its group, as umask 027 makes it, is closed before use.
		mkdir(folder.c_str(), 0777);
		ASSERT_EQ(chmod(folder.c_str(), 0750), 0);
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
	ASSERT_EQ(first.Claim(name,
				  [&](int32 request, const BPrivate::LaunchToken&) {
					  asked++;
					  first.Answer(request);
				  }),
		BPrivate::LAUNCH_CLAIMED);
	int client = ConnectTo(name);
	ASSERT_GE(client, 0);

	// Every descriptor number is taken: the listener cannot accept.
	rlimit saved;
	ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
	// Just above the highest descriptor open now, which the listener's
	// spare is among.
	int highest = 0;
	for (const auto& entry : fs::directory_iterator("/proc/self/fd"))
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

// Where the data folder lies is played by the installed game
// (install-and-start.sh, failures.sh); only a short buffer is not.
TEST(DataDirectoryTest, FindDirectoryFillsOnlyABufferLargeEnough)
{
	char path[PATH_MAX];
	ASSERT_EQ(
		find_directory(B_APP_DATA_DIRECTORY, 0, false, path, sizeof(path)),
		B_OK);
	EXPECT_EQ(std::string(path), BPrivate::AppDataDirectory());
	EXPECT_EQ(find_directory(
				  B_APP_DATA_DIRECTORY, 0, false, path, (int32)strlen(path)),
		B_BAD_VALUE);
	EXPECT_EQ(find_directory(B_APP_DATA_DIRECTORY, 0, false, nullptr, 10),
		B_BAD_VALUE);
}

// A working directory and the test program's data folder, each of which
// may hold its own "bmp/probe.bmp".
class ImageLookupTest : public ::testing::Test {
protected:
	void
	SetUp() override
	{
		fOldCwd = fs::current_path();
		fData = BPrivate::AppDataDirectory();
		ASSERT_FALSE(fData.empty());
		fs::remove_all(fData);
		fCwd = fs::temp_directory_path()
			/ ("kx-lookup-" + std::to_string(getpid()));
		fs::create_directories(fCwd / "bmp");
		fs::create_directories(fData / "bmp");
		fs::current_path(fCwd);
	}

	void
	TearDown() override
	{
		fs::current_path(fOldCwd);
		fs::remove_all(fCwd);
		// The folder and its now empty parent, both made by SetUp.
		fs::remove_all(fData);
		fs::remove(fData.parent_path());
	}

	// The board picture is 160 wide, a peg picture 17.
	void
	Put(const fs::path& folder, const char* picture)
	{
		fs::copy_file(fs::path(KX_SOURCE_DIR) / "bmp" / picture,
			folder / "bmp/probe.bmp", fs::copy_options::overwrite_existing);
	}

	static float
	WidthOf(const char* path)
	{
		std::unique_ptr<BBitmap> bitmap(BTranslationUtils::GetBitmap(path));
		return bitmap ? bitmap->Bounds().Width() + 1 : 0;
	}

	fs::path fOldCwd;
	fs::path fCwd;
	fs::path fData;
};

TEST_F(ImageLookupTest, WorkingDirectoryFirstThenTheDataFolder)
{
	EXPECT_EQ(WidthOf("bmp/probe.bmp"), 0);

	Put(fData, "red.bmp");
	EXPECT_EQ(WidthOf("bmp/probe.bmp"), 17);

	Put(fCwd, "board.jpg");
	EXPECT_EQ(WidthOf("bmp/probe.bmp"), 160);

	// A damaged copy in the working directory does not hide a good one.
	{
		std::ofstream(fCwd / "bmp/probe.bmp") << "not a picture";
	}
	EXPECT_EQ(WidthOf("bmp/probe.bmp"), 17);

	// An absolute path is taken as it is.
	EXPECT_EQ(WidthOf((fCwd / "bmp/probe.bmp").c_str()), 0);
}

TEST(DisplayScaleTest, WholeScalesFromTheDensityAndScreenPixelsBackToTheirs)
{
	// A nominal 192 as screens report it; nothing usable reported: no
	// enlargement.
	const float dpis[][2] = { { 96, 1 }, { 144, 1 }, { 192, 2 }, { 189.5f, 2 },
		{ 288, 3 }, { 0, 1 }, { -5, 1 }, { NAN, 1 }, { 1e9f, 1 } };
	for (const auto& dpi : dpis)
		EXPECT_EQ(BPrivate::ScaleForDpi(dpi[0]), dpi[1]) << dpi[0];
	// Screen pixel, scale, the application pixel it shows.
	const int32 pixels[][3] = { { 7, 1, 7 }, { -7, 1, -7 }, { 0, 2, 0 },
		{ 1, 2, 0 }, { 319, 2, 159 }, { -1, 2, -1 }, { -2, 2, -1 },
		{ -3, 2, -2 } };
	for (const auto& p : pixels)
		EXPECT_EQ(BPrivate::FromScreen(p[0], p[1]), p[2])
			<< p[0] << " " << p[1];
}

// The display's wake-up comes from any thread at any time: before the
// display is open (a relaunch request may arrive while the application is
// still being made), while it opens and closes, and after. Under
// ThreadSanitizer a wake-up that reads the display's state unguarded fails.
TEST(DisplayWake, AnyThreadMayWakeTheDisplayWhileItOpensAndCloses)
{
	// A display without a screen: the X server plays no part here.
	setenv("SDL_VIDEODRIVER", "dummy", 1);
	BPrivate::DisplayBackend* display = BPrivate::CreateSDLDisplay();
	std::atomic<bool>		  done { false };
	std::atomic<int>		  wakes { 0 };
	std::thread				  waker([&] {
		  while (!done) {
			  display->Wake();
			  wakes++;
		  }
	  });
	EXPECT_TRUE(kxtest::PollUntil([&] { return wakes >= 100; }));
	for (int round = 0; round < 3; round++) {
		ASSERT_EQ(display->Open(), B_OK);
		int seen = wakes;
		EXPECT_TRUE(kxtest::PollUntil([&] { return wakes >= seen + 100; }));
		display->Close();
	}
	done = true;
	waker.join();
	delete display;
	unsetenv("SDL_VIDEODRIVER");
}

} // namespace
