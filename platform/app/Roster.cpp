#include <Roster.h>

#include <cerrno>
#include <strings.h>
#include <cstring>
#include <future>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include <spawn.h>
#include <sys/wait.h>

#include "LaunchHook.h"

extern char** environ;

namespace {

const char* const	 kBrowserSignature = "application/x-vnd.Be-NPOS";
// Opens addresses and files in the programs the desktop prefers.
const char* const	 kOpener = "xdg-open";

std::mutex			 sHookLock;
BPrivate::LaunchHook sHook;

// Starts the program found on the search path without a shell, from a
// thread of its own that then waits for its end, so that it leaves no zombie
// behind. Without that thread nothing is started and the launch fails.
status_t
Spawn(const std::vector<std::string>& argv, team_id* team)
{
	std::promise<std::pair<int, pid_t>> started;
	std::future<std::pair<int, pid_t>>	result = started.get_future();
	try {
		std::thread([argv, started = std::move(started)]() mutable {
			std::vector<char*> args;
			for (const std::string& arg : argv)
				args.push_back(const_cast<char*>(arg.c_str()));
			args.push_back(nullptr);
			pid_t child = -1;
			int	  error = posix_spawnp(
				  &child, args[0], nullptr, nullptr, args.data(), environ);
			started.set_value({ error, child });
			if (error != 0)
				return;
			while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
			}
		}).detach();
	} catch (const std::system_error&) {
		return B_NO_MEMORY;
	}
	auto [error, child] = result.get();
	if (error != 0)
		return error == ENOENT ? B_ENTRY_NOT_FOUND : B_ERROR;
	if (team != nullptr)
		*team = (team_id)child;
	return B_OK;
}

const BRoster sRoster;

} // namespace

const BRoster* be_roster = &sRoster;

namespace BPrivate {

void
SetLaunchHook(LaunchHook hook)
{
	std::lock_guard<std::mutex> guard(sHookLock);
	sHook = std::move(hook);
}

} // namespace BPrivate

BRoster::BRoster() = default;

BRoster::~BRoster() = default;

status_t
BRoster::Launch(
	const char* mimeType, int argc, char** args, team_id* team) const
{
	if (team != nullptr)
		*team = -1;
	if (mimeType == nullptr || argc < 0 || (argc > 0 && args == nullptr))
		return B_BAD_VALUE;
	if (strcasecmp(mimeType, kBrowserSignature) != 0)
		return B_ENTRY_NOT_FOUND;

	std::vector<std::string> argv { kOpener };
	for (int i = 0; i < argc; i++) {
		if (args[i] == nullptr)
			return B_BAD_VALUE;
		argv.push_back(args[i]);
	}

	BPrivate::LaunchHook hook;
	{
		std::lock_guard<std::mutex> guard(sHookLock);
		hook = sHook;
	}
	if (hook)
		return hook(argv);
	return Spawn(argv, team);
}
