#ifndef _KX_LAUNCH_RENDEZVOUS_H
#define _KX_LAUNCH_RENDEZVOUS_H

// Keeps a second copy of a single-launch application from starting. The
// first copy holds a lock file and listens on a socket beside it, both in a
// directory that only the user can enter; the lock goes with the process, so
// a killed copy leaves nothing that stops the next start. A later copy that
// finds the lock taken asks the listener, which has to be the user's own and
// answer in time, to bring its window forward, and then gives up. Whenever
// that exchange is in any doubt the later copy starts on its own instead.

#include <SupportDefs.h>

#include <functional>
#include <string>
#include <thread>

namespace BPrivate {

enum launch_claim {
	LAUNCH_CLAIMED,			// this process is the first; it now listens
	LAUNCH_ALREADY_RUNNING, // the user's running copy answered and comes forward
	LAUNCH_CLAIM_FAILED		// no private rendezvous, or no sound answer: run
							// without the check (Problem() says why)
};

// The launch flags in the executable's resource block; B_MULTIPLE_LAUNCH
// when it has none or they cannot be read.
uint32		LaunchFlagsOf(const char* executable);

// The user's private folder of rendezvous: "kalvex" in $XDG_RUNTIME_DIR, or
// "/tmp/kalvex-UID" without one.
std::string LaunchRendezvousDirectory();

// The socket's path for the user: by signature alone for an exclusive
// launch, by signature and executable for a single launch.
std::string LaunchRendezvousName(
	const char* signature, const char* executable, uint32 launchFlags);

class LaunchRendezvous {
public:
	LaunchRendezvous();
	// Stops listening; no call of the hook is under
	// way or follows once it returns.
	~LaunchRendezvous();

	// `relaunched` runs on the listening thread each time a later copy of
	// the same user asks. Blocks for at most kLaunchAnswerTimeout.
	launch_claim Claim(
		const std::string& name, std::function<void()> relaunched);

	// Why the last claim failed, in words for the user; empty otherwise.
	const std::string&
	Problem() const
	{
		return fProblem;
	}

private:
	bool				  _PrivateDirectory(const std::string& name);
	bool				  _Listen(const std::string& name);
	launch_claim		  _AskRunning(const std::string& name);
	void				  _Serve();
	void				  _Answer(int client);

	int					  fSocket;
	int					  fLockFile;
	int					  fSpareFd;
	int					  fWakeFds[2];
	std::function<void()> fRelaunched;
	std::thread			  fThread;
	std::string			  fName;
	std::string			  fProblem;
};

// How long a later copy waits, all told, to connect and hear the answer.
const int kLaunchAnswerTimeout = 500; // milliseconds

} // namespace BPrivate

#endif
