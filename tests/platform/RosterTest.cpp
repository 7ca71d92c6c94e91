#include <Roster.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "LaunchHook.h"
#include "Watchdog.h"

namespace {

const char* const kBrowser = "application/x-vnd.Be-NPOS";
char			  sAddress[] = "https://kalvex.example.org/a b;c";
char*			  sArgs[] = { sAddress, nullptr };

TEST(Roster, AFailedLaunchGivesNoTeamAndBadRequestsStartNothing)
{
	int calls = 0;
	BPrivate::SetLaunchHook([&](const std::vector<std::string>&) {
		calls++;
		return B_ERROR;
	});
	team_id team = 99;
	EXPECT_EQ(be_roster->Launch(kBrowser, 1, sArgs, &team), B_ERROR);
	EXPECT_EQ(team, -1);
	EXPECT_EQ(be_roster->Launch("application/x-vnd.Unknown", 1, sArgs),
		B_ENTRY_NOT_FOUND);
	EXPECT_EQ(be_roster->Launch(nullptr, 1, sArgs), B_BAD_VALUE);
	EXPECT_EQ(be_roster->Launch(kBrowser, 1, nullptr), B_BAD_VALUE);
	EXPECT_EQ(be_roster->Launch(kBrowser, 2, sArgs), B_BAD_VALUE);
	EXPECT_EQ(calls, 1);
	BPrivate::SetLaunchHook(nullptr);
}

// A new folder of the test's own, never one left behind by another run.
std::filesystem::path
NewFolder()
{
	std::string pattern =
		(std::filesystem::temp_directory_path() / "kx-roster-XXXXXX").string();
	return mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
}

// Makes a directory of its own the whole search path for one test.
class SearchPath {
public:
	SearchPath() :
		dir(NewFolder())
	{
		fSaved = getenv("PATH") != nullptr ? getenv("PATH") : "";
		setenv("PATH", dir.c_str(), 1);
	}
	~SearchPath()
	{
		setenv("PATH", fSaved.c_str(), 1);
		std::filesystem::remove_all(dir);
	}

	const std::filesystem::path dir;

private:
	std::string fSaved;
};

TEST(Roster, LaunchStartsTheOpenerWithoutWaitingAndLeavesNoZombie)
{
	SearchPath			  path;
	std::filesystem::path seen = path.dir / "seen";
	std::filesystem::path done = path.dir / "done";
	std::filesystem::path gate = path.dir / "gate";
	ASSERT_EQ(mkfifo(gate.c_str(), 0600), 0);
	// Writes down its arguments, then waits on the gate until the test opens
	// it; only the shell's own commands are at hand on this search path.
	std::ofstream(path.dir / "xdg-open")
		<< "#!/bin/sh\nprintf '%s|' \"$@\" > " << seen << "\n: > " << done
		<< "\nread line < " << gate << "\n";
	std::filesystem::permissions(
		path.dir / "xdg-open", std::filesystem::perms::owner_all);

	team_id team = -1;
	ASSERT_EQ(be_roster->Launch(kBrowser, 1, sArgs, &team), B_OK);
	ASSERT_GT(team, 0);
	// The opener runs on while the caller goes on.
	ASSERT_TRUE(
		kxtest::PollUntil([&] { return std::filesystem::exists(done); }));
	EXPECT_EQ(kill(team, 0), 0);
	std::ifstream result(seen);
	std::string	  arguments((std::istreambuf_iterator<char>(result)),
		  std::istreambuf_iterator<char>());
	EXPECT_EQ(arguments, std::string(sAddress) + "|");

	int gateFd = -1;
	ASSERT_TRUE(kxtest::PollUntil([&] {
		return (gateFd = open(gate.c_str(), O_WRONLY | O_NONBLOCK)) >= 0;
	}));
	ASSERT_EQ(write(gateFd, "\n", 1), 1);
	close(gateFd);
	// Once it has ended, nothing of it stays in the process table.
	EXPECT_TRUE(kxtest::PollUntil(
		[&] { return kill(team, 0) != 0 && errno == ESRCH; }));

	std::filesystem::remove(path.dir / "xdg-open");
	team = 99;
	EXPECT_EQ(be_roster->Launch(kBrowser, 1, sArgs, &team), B_ENTRY_NOT_FOUND);
	EXPECT_EQ(team, -1);
}

TEST(Roster, NoThreadToWaitForTheOpenerIsAFailedLaunch)
{
	SearchPath path;
	std::filesystem::create_symlink("/bin/true", path.dir / "xdg-open");
	// In a child of its own: no room is left there for another thread's
	// stack, while a small process may still start.
	GTEST_FLAG_SET(death_test_style, "threadsafe");
	// The child ends without its destructors: it takes its own folder away.
	std::string link = (path.dir / "xdg-open").string();
	std::string folder = path.dir.string();
	EXPECT_EXIT(
		{
			std::ifstream statm("/proc/self/statm");
			unsigned long pages = 0;
			statm >> pages;
			rlimit limit;
			getrlimit(RLIMIT_AS, &limit);
			limit.rlim_cur = pages * sysconf(_SC_PAGESIZE) + 2 * 1024 * 1024;
			setrlimit(RLIMIT_AS, &limit);
			team_id	 team = 99;
			status_t status = be_roster->Launch(kBrowser, 1, sArgs, &team);
			unlink(link.c_str());
			rmdir(folder.c_str());
			_exit(status == B_NO_MEMORY && team == -1 ? 0 : 1);
		},
		testing::ExitedWithCode(0), "");
}

} // namespace
