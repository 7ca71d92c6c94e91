#ifndef _KX_LAUNCH_RENDEZVOUS_H
#define _KX_LAUNCH_RENDEZVOUS_H

// Keeps a second copy of a single-launch application from starting. The
// first copy holds a lock file and listens on a socket beside it, both in a
// directory that only the user can enter; the lock goes with the process, so
// a killed copy leaves nothing that stops the next start. A later copy that
// finds the lock taken asks the listener, which has to be the user's own and
// answer in time, to bring its window forward, and then gives up. A copy on
// its way out says so instead, and the later one waits for its lock. Whenever
// that exchange is in any doubt the later copy starts on its own instead.

#include <SupportDefs.h>

#include <private/LaunchToken.h>

#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

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
	// the same user asks, with a number for the request and the later
	// copy's launch token; the later copy hears "coming" once Answer() has
	// been called with that number. Without a hook every request is answered
	// at once. When the lock is held by a copy that is leaving, blocks until
	// it has gone, for at most kLaunchWaitBudget. A later copy hands over
	// `token`.
	launch_claim Claim(const std::string&			   name,
		std::function<void(int32, const LaunchToken&)> relaunched,
		const LaunchToken&							   token = LaunchToken());

	// Any thread: the application has taken the request (its window came
	// forward).
	void		 Answer(int32 request);
	// Any thread: from now on this copy is on its way out (or, with false,
	// stays after all). Requests still unanswered and new ones hear that it
	// is going, and later copies wait for its lock instead of ending.
	void		 SetLeaving(bool leaving);

	// Why the last claim failed, in words for the user; empty otherwise.
	const std::string&
	Problem() const
	{
		return fProblem;
	}

private:
	enum ask_result {
		ASK_COMING,
		ASK_GOING,
		ASK_NOBODY,
		ASK_DOUBT
	};
	struct Pending {
		int	  client;
		int32 request;
		int64 deadline;
	};

	bool		 _PrivateDirectory(const std::string& name);
	launch_claim _TakeOver(const std::string& name, int lock);
	bool		 _Listen(const std::string& name);
	ask_result	 _AskRunning(
		  const std::string& name, int64 finalDeadline, const LaunchToken& token);
	void										   _Serve();
	void										   _Take(int client);
	int											   _AnswerPending();
	void										   _Wake();

	int											   fSocket;
	int											   fLockFile;
	int											   fSpareFd;
	int											   fWakeFds[2];
	std::function<void(int32, const LaunchToken&)> fRelaunched;
	std::thread									   fThread;
	std::string									   fName;
	std::string									   fProblem;
	// Shared between the listening thread and Answer(), SetLeaving() and the
	// destructor.
	std::mutex									   fLock;
	std::vector<int32>							   fAnswered;
	bool										   fLeaving;
	bool										   fStopping;
	// The listening thread's own.
	std::vector<Pending>						   fPending;
	int32										   fLastRequest;
};

// How long a later copy waits to connect and hear the first answer.
const int kLaunchAnswerTimeout = 500; // milliseconds
// How long it waits, all told, for a busy copy's last word or for a copy
// that is leaving to end; a quitting game may first finish a row of the
// computer's, 2.5 s.
const int kLaunchWaitBudget = 5000; // milliseconds

// The running application's word that it took a later copy's request (see
// LaunchRendezvous::Answer); a window calls it once it has come forward.
void	  AnswerRelaunch(int32 request);

} // namespace BPrivate

#endif
