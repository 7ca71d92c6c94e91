#include <private/LaunchRendezvous.h>

#include <Catalog.h>
#include <Roster.h>

#include <private/ResourceFile.h>
#include <private/ResourceFormat.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace BPrivate {

namespace {

// Fixed words both ways, so that a listener that echoes or talks nonsense
// is not taken for the running copy.
const char	 kRequest[] = "kx-launch 1: come forward\n";
const size_t kRequestLength = sizeof(kRequest) - 1;
// The running copy has brought its window forward.
const char	 kComing[] = "kx-launch 1: coming\n";
// It is on its way out: the later copy waits for its lock.
const char	 kGoing[] = "kx-launch 1: going\n";
// It has the request and is busy: its last word follows.
const char	 kHeard[] = "kx-launch 1: heard\n";
const size_t kLongestAnswer = sizeof(kComing) - 1;
// How long the listener gives a client it accepted to make its request.
const int	 kRequestTimeoutMs = 1000;
// How long a request may wait for the application's word; a window that
// is that slow is still there, and comes forward when it can.
const int	 kRelaunchAnswerMs = 3000;
// The pause after an accept that would only fail again at once.
const int	 kAcceptBackOffMs = 100;
// Between attempts to reach a copy that has the lock but no socket (yet or
// any more), or to take the lock of one that is leaving.
const int	 kRetryMs = 10;


int64
NowMs()
{
	return std::chrono::duration_cast<std::chrono::milliseconds>(
		std::chrono::steady_clock::now().time_since_epoch())
		.count();
}


// Zero when the path does not fit a socket address.
socklen_t
SocketAddress(const std::string& path, sockaddr_un* address)
{
	memset(address, 0, sizeof(*address));
	address->sun_family = AF_UNIX;
	if (path.size() >= sizeof(address->sun_path))
		return 0;
	memcpy(address->sun_path, path.data(), path.size());
	return (socklen_t)(offsetof(sockaddr_un, sun_path) + path.size() + 1);
}


bool
WaitReadable(int fd, int timeoutMs)
{
	pollfd entry = { fd, POLLIN, 0 };
	int	   result;
	while ((result = poll(&entry, 1, timeoutMs)) < 0 && errno == EINTR) {
	}
	return result > 0;
}


// Reads exactly `length` bytes, or fails once the deadline has passed.
bool
ReadAll(int fd, char* buffer, size_t length, int64 deadline)
{
	size_t got = 0;
	while (got < length) {
		int64 left = deadline - NowMs();
		if (left <= 0 || !WaitReadable(fd, (int)left))
			return false;
		ssize_t count = read(fd, buffer + got, length - got);
		if (count < 0 && (errno == EINTR || errno == EAGAIN))
			continue;
		if (count <= 0)
			return false;
		got += (size_t)count;
	}
	return true;
}


// Reads one line of at most `size` bytes, its end included; empty when none
// came before the deadline.
std::string
ReadLine(int fd, size_t size, int64 deadline)
{
	std::string line;
	char		c = 0;
	while (c != '\n' && line.size() < size) {
		if (!ReadAll(fd, &c, 1, deadline))
			return std::string();
		line += c;
	}
	return c == '\n' ? line : std::string();
}


bool
Send(int fd, const char* words)
{
	size_t length = strlen(words);
	return send(fd, words, length, MSG_NOSIGNAL) == (ssize_t)length;
}


bool
PeerIsUser(int fd)
{
	ucred	  peer;
	socklen_t size = sizeof(peer);
	return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0
		&& size == sizeof(peer) && peer.uid == getuid();
}


std::string
NotListening(const std::string& name)
{
	return format_text(
		// TRANSLATORS: %s is a socket's file.
		B_TRANSLATE("the running copy does not listen at %s"), name.c_str());
}


uint64
Fnv1a(const std::string& text)
{
	uint64 hash = 0xcbf29ce484222325ull;
	for (unsigned char c : text) {
		hash ^= c;
		hash *= 0x100000001b3ull;
	}
	return hash;
}

} // namespace


uint32
LaunchFlagsOf(const char* executable)
{
	ResourceFile file;
	if (executable == nullptr || file.SetTo(executable) != B_OK)
		return B_MULTIPLE_LAUNCH;
	const ResourceItem* item = file.FindResource('APPF', "BEOS:APP_FLAGS");
	if (item == nullptr || item->data.size() != 4)
		return B_MULTIPLE_LAUNCH;
	return ReadLE32(item->data.data());
}


std::string
LaunchRendezvousDirectory()
{
	const char* runtime = getenv("XDG_RUNTIME_DIR");
	if (runtime != nullptr && runtime[0] == '/')
		return std::string(runtime) + "/kx-launch";
	return "/tmp/kx-launch-" + std::to_string(getuid());
}


std::string
LaunchRendezvousName(
	const char* signature, const char* executable, uint32 launchFlags)
{
	std::string key = signature != nullptr ? signature : "";
	if ((launchFlags & B_LAUNCH_MASK) != B_EXCLUSIVE_LAUNCH) {
		key += '\0';
		key += executable != nullptr ? executable : "";
	}
	char name[32];
	snprintf(name, sizeof(name), "/%016llx", (unsigned long long)Fnv1a(key));
	return LaunchRendezvousDirectory() + name;
}


LaunchRendezvous::LaunchRendezvous() :
	fSocket(-1),
	fLockFile(-1),
	fSpareFd(-1),
	fWakeFds { -1, -1 },
	fLeaving(false),
	fStopping(false),
	fLastRequest(0)
{ }


LaunchRendezvous::~LaunchRendezvous()
{
	if (fThread.joinable()) {
		{
			std::lock_guard<std::mutex> guard(fLock);
			fStopping = true;
		}
		_Wake();
		fThread.join();
	}
	if (fSocket >= 0) {
		// Still under the lock, so this cannot remove a successor's socket.
		unlink(fName.c_str());
		close(fSocket);
	}
	for (int fd : { fLockFile, fSpareFd, fWakeFds[0], fWakeFds[1] }) {
		if (fd >= 0)
			close(fd);
	}
}


launch_claim
LaunchRendezvous::Claim(const std::string&		   name,
	std::function<void(int32, const LaunchToken&)> relaunched,
	const LaunchToken&							   token)
{
	if (fSocket >= 0)
		return LAUNCH_CLAIMED;
	fProblem.clear();
	sockaddr_un address;
	if (SocketAddress(name, &address) == 0) {
		fProblem = format_text(
			// TRANSLATORS: why a start of the game cannot look for a running
			// copy, in "%s: %s; starting anyway", as are the next ones. %s
			// is a file name.
			B_TRANSLATE("the rendezvous path %s is too long for a socket"),
			name.c_str());
		return LAUNCH_CLAIM_FAILED;
	}
	if (!_PrivateDirectory(name))
		return LAUNCH_CLAIM_FAILED;
	fRelaunched = std::move(relaunched);

	std::string lockPath = name + ".lock";
	int64		nobodySince = -1;
	int64		leavingSince = -1;
	for (;;) {
		int lock = open(lockPath.c_str(),
			O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
		if (lock < 0) {
			fProblem = format_text(
				// TRANSLATORS: a file, then the system's reason.
				B_TRANSLATE("cannot open %s: %s"), lockPath.c_str(),
				strerror(errno));
			return LAUNCH_CLAIM_FAILED;
		}
		if (flock(lock, LOCK_EX | LOCK_NB) == 0)
			return _TakeOver(name, lock);
		int error = errno;
		close(lock);
		if (error != EWOULDBLOCK) {
			fProblem = format_text(
				// TRANSLATORS: a file, then the system's reason.
				B_TRANSLATE("cannot lock %s: %s"), lockPath.c_str(),
				strerror(error));
			return LAUNCH_CLAIM_FAILED;
		}

		// A copy that said it is leaving is only waited for.
		int64 now = NowMs();
		if (leavingSince < 0) {
			switch (_AskRunning(name, now + kLaunchWaitBudget, token)) {
				case ASK_COMING:
					return LAUNCH_ALREADY_RUNNING;
				case ASK_DOUBT:
					return LAUNCH_CLAIM_FAILED;
				case ASK_GOING:
					leavingSince = now;
					break;
				case ASK_NOBODY:
					// Starting and not listening yet, or leaving and no
					// longer listening: either way only for a moment.
					if (nobodySince < 0)
						nobodySince = now;
					if (now - nobodySince >= kLaunchAnswerTimeout) {
						fProblem =
							"the running copy does not listen at " + name;
						return LAUNCH_CLAIM_FAILED;
					}
					break;
			}
		} else if (now - leavingSince >= kLaunchWaitBudget) {
			fProblem = format_text(
				// TRANSLATORS: %s is a socket's file, %d a number of seconds.
				B_TRANSLATE("the running copy at %s said it was quitting but "
							"had not ended after %d s"),
				name.c_str(), kLaunchWaitBudget / 1000);
			return LAUNCH_CLAIM_FAILED;
		}
		poll(nullptr, 0, kRetryMs);
	}
}


launch_claim
LaunchRendezvous::_TakeOver(const std::string& name, int lock)
{
	fLockFile = lock;
	// The lock is ours, so whatever lies at the name was left by a copy
	// that has ended.
	unlink(name.c_str());
	if (!_Listen(name) || pipe2(fWakeFds, O_CLOEXEC) != 0) {
		fProblem = format_text(
			// TRANSLATORS: a socket's file, then the system's reason.
			B_TRANSLATE("cannot listen at %s: %s"), name.c_str(),
			strerror(errno));
		if (fSocket >= 0) {
			unlink(name.c_str());
			close(fSocket);
			fSocket = -1;
		}
		close(fLockFile);
		fLockFile = -1;
		return LAUNCH_CLAIM_FAILED;
	}
	fName = name;
	// Kept for the day the process runs out of descriptors (see _Serve).
	fSpareFd = open("/dev/null", O_RDONLY | O_CLOEXEC);
	fThread = std::thread(&LaunchRendezvous::_Serve, this);
	return LAUNCH_CLAIMED;
}


void
LaunchRendezvous::Answer(int32 request)
{
	{
		std::lock_guard<std::mutex> guard(fLock);
		fAnswered.push_back(request);
	}
	_Wake();
}


void
LaunchRendezvous::SetLeaving(bool leaving)
{
	{
		std::lock_guard<std::mutex> guard(fLock);
		if (fLeaving == leaving)
			return;
		fLeaving = leaving;
	}
	_Wake();
}


void
LaunchRendezvous::_Wake()
{
	if (fWakeFds[1] < 0)
		return;
	char wake = 0;
	while (write(fWakeFds[1], &wake, 1) < 0 && errno == EINTR) {
	}
}


bool
LaunchRendezvous::_PrivateDirectory(const std::string& name)
{
	std::string folder = name.substr(0, name.rfind('/'));
	if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
		fProblem = format_text(
			// TRANSLATORS: a folder, then the system's reason.
			B_TRANSLATE("cannot create %s: %s"), folder.c_str(),
			strerror(errno));
		return false;
	}
	// Nobody else may put a listener where this user's copies look.
	struct stat info;
	if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)
		|| info.st_uid != geteuid()) {
		fProblem = format_text(
			// TRANSLATORS: %s is a folder that another user owns.
			B_TRANSLATE("%s is not a folder of this user's own"),
			folder.c_str());
		return false;
	}
	if ((info.st_mode & 077) != 0 && chmod(folder.c_str(), 0700) != 0) {
		fProblem = format_text(
			// TRANSLATORS: a folder, then the system's reason.
			B_TRANSLATE("cannot make %s private: %s"), folder.c_str(),
			strerror(errno));
		return false;
	}
	return true;
}


bool
LaunchRendezvous::_Listen(const std::string& name)
{
	int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
	if (fd < 0)
		return false;
	sockaddr_un address;
	socklen_t	length = SocketAddress(name, &address);
	if (bind(fd, (sockaddr*)&address, length) != 0 || listen(fd, 4) != 0) {
		int error = errno;
		close(fd);
		errno = error;
		return false;
	}
	fSocket = fd;
	return true;
}


LaunchRendezvous::ask_result
LaunchRendezvous::_AskRunning(
	const std::string& name, int64 finalDeadline, const LaunchToken& token)
{
	sockaddr_un address;
	socklen_t	length = SocketAddress(name, &address);
	int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
	if (fd < 0) {
		fProblem = format_text(
			// TRANSLATORS: %s is the system's reason.
			B_TRANSLATE("no socket: %s"), strerror(errno));
		return ASK_DOUBT;
	}
	if (connect(fd, (sockaddr*)&address, length) != 0) {
		int error = errno;
		close(fd);
		// The running copy may not listen yet or any more, or be busy
		// with others.
		if (error == ENOENT || error == ECONNREFUSED || error == EAGAIN)
			return ASK_NOBODY;
		fProblem = NotListening(name);
		return ASK_DOUBT;
	}

	ask_result	result = ASK_DOUBT;
	std::string answer;
	if (!PeerIsUser(fd)) {
		fProblem = format_text(
			// TRANSLATORS: %s is a socket's file.
			B_TRANSLATE("the listener at %s belongs to another user"),
			name.c_str());
	} else if (Send(fd, (kRequest + LaunchTokenLine(token)).c_str())) {
		answer = ReadLine(fd, kLongestAnswer, NowMs() + kLaunchAnswerTimeout);
		// A busy copy says it heard, and its last word may take a while.
		if (answer == kHeard)
			answer = ReadLine(fd, kLongestAnswer, finalDeadline);
		if (answer == kComing)
			result = ASK_COMING;
		else if (answer == kGoing)
			result = ASK_GOING;
	}
	if (result == ASK_DOUBT && fProblem.empty()) {
		fProblem = format_text(
			// TRANSLATORS: %s is a socket's file.
			B_TRANSLATE("no answer from the running copy at %s"), name.c_str());
	}
	close(fd);
	return result;
}


void
LaunchRendezvous::_Serve()
{
	for (;;) {
		int	   timeout = _AnswerPending();
		pollfd entries[2] = { { fSocket, POLLIN, 0 },
			{ fWakeFds[0], POLLIN, 0 } };
		if (poll(entries, 2, timeout) < 0) {
			if (errno == EINTR)
				continue;
			return;
		}
		if (entries[1].revents != 0) {
			char drain[64];
			while (
				read(fWakeFds[0], drain, sizeof(drain)) < 0 && errno == EINTR) {
			}
			std::lock_guard<std::mutex> guard(fLock);
			if (fStopping)
				break;
			continue;
		}
		if (entries[0].revents == 0)
			continue;
		int client = accept4(fSocket, nullptr, nullptr, SOCK_CLOEXEC);
		if (client >= 0) {
			_Take(client);
			continue;
		}
		if (errno == EINTR || errno == EAGAIN || errno == ECONNABORTED)
			continue;
		if ((errno == EMFILE || errno == ENFILE) && fSpareFd >= 0) {
			// Out of descriptors: the client would stay queued and wake
			// the poll again at once. The spare one lets it be taken and
			// turned away.
			close(fSpareFd);
			client = accept4(fSocket, nullptr, nullptr, SOCK_CLOEXEC);
			if (client >= 0)
				close(client);
			fSpareFd = open("/dev/null", O_RDONLY | O_CLOEXEC);
			if (client >= 0)
				continue;
		}
		// Whatever else failed would fail again at once.
		pollfd wake = { fWakeFds[0], POLLIN, 0 };
		if (poll(&wake, 1, kAcceptBackOffMs) > 0)
			continue;
	}
	// Whoever still waits hears that this copy goes.
	for (const Pending& pending : fPending) {
		Send(pending.client, kGoing);
		close(pending.client);
	}
	fPending.clear();
}


void
LaunchRendezvous::_Take(int client)
{
	// Only the same user may bring the window forward.
	char  words[kRequestLength];
	int64 deadline = NowMs() + kRequestTimeoutMs;
	if (!PeerIsUser(client) || !ReadAll(client, words, kRequestLength, deadline)
		|| memcmp(words, kRequest, kRequestLength) != 0) {
		close(client);
		return;
	}
	// The copy's launch token follows; one of an earlier version sends
	// none and is answered without.
	LaunchToken token =
		LaunchTokenFromLine(ReadLine(client, kLaunchTokenLineLength, deadline));
	bool leaving;
	{
		std::lock_guard<std::mutex> guard(fLock);
		leaving = fLeaving;
	}
	if (leaving) {
		Send(client, kGoing);
		close(client);
		return;
	}
	Send(client, kHeard);
	int32 request = ++fLastRequest;
	fPending.push_back({ client, request, NowMs() + kRelaunchAnswerMs });
	if (fRelaunched)
		fRelaunched(request, token);
	else
		Answer(request);
}


// Gives the pending requests whatever word has come for them; returns the
// milliseconds until the next one is due anyway, or -1.
int
LaunchRendezvous::_AnswerPending()
{
	std::vector<int32> answered;
	bool			   leaving;
	{
		std::lock_guard<std::mutex> guard(fLock);
		answered.swap(fAnswered);
		leaving = fLeaving;
	}
	int64 now = NowMs();
	int	  timeout = -1;
	for (auto it = fPending.begin(); it != fPending.end();) {
		bool taken = std::find(answered.begin(), answered.end(), it->request)
			!= answered.end();
		if (leaving || taken || now >= it->deadline) {
			Send(it->client, leaving ? kGoing : kComing);
			close(it->client);
			it = fPending.erase(it);
			continue;
		}
		int left = (int)(it->deadline - now);
		timeout = timeout < 0 ? left : std::min(timeout, left);
		++it;
	}
	return timeout;
}

} // namespace BPrivate
