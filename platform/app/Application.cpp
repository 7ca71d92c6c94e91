#include <Application.h>

#include <AppDefs.h>
#include <Catalog.h>
#include <Roster.h>
#include <Window.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

#include <private/LaunchRendezvous.h>

#include "Desktop.h"
#include "display/DisplayBackend.h"

using BPrivate::Desktop;
using BPrivate::Display;

BApplication* be_app = nullptr;

namespace {

// Set from signal handlers and the display; the loop looks at it every turn.
std::atomic<int> sQuitAsked { 0 };
// The write end of the pipe through which a signal handler wakes the loop;
// -1 outside Run().
std::atomic<int> sSignalPipe { -1 };

void
QuitSignaled(int)
{
	sQuitAsked = 1;
	int fd = sSignalPipe.load();
	if (fd >= 0) {
		int		saved = errno;
		char	wake = 0;
		ssize_t written = write(fd, &wake, 1);
		(void)written;
		errno = saved;
	}
}

// A desktop session ends its programs with SIGTERM or SIGHUP, a terminal with
// SIGINT: each asks the application to quit like its own Quit command.
void
CatchQuitSignals()
{
	struct sigaction action = {};
	action.sa_handler = QuitSignaled;
	sigemptyset(&action.sa_mask);
	action.sa_flags = SA_RESTART;
	for (int signal : { SIGTERM, SIGINT, SIGHUP })
		sigaction(signal, &action, nullptr);
}

// The running copy's rendezvous, for the windows' and the queue's word.
std::atomic<BPrivate::LaunchRendezvous*> sLaunch { nullptr };

void
SetLeaving(bool leaving)
{
	if (BPrivate::LaunchRendezvous* launch = sLaunch.load())
		launch->SetLeaving(leaving);
}

// A signal may have asked for the end before the loop has posted the quit
// request that says so: a relaunch answered in that moment would see a copy
// that is about to go come forward.
void
NoteQuitAsked()
{
	if (sQuitAsked != 0)
		SetLeaving(true);
}

} // namespace

void
BPrivate::AskToQuit()
{
	sQuitAsked = 1;
}

void
BPrivate::AnswerRelaunch(int32 request)
{
	NoteQuitAsked();
	if (BPrivate::LaunchRendezvous* launch = sLaunch.load())
		launch->Answer(request);
}

BApplication::BApplication(const char* signature) :
	BLooper("application"),
	fSignature(signature != nullptr ? signature : ""),
	fInitStatus(B_OK),
	fLaunch(nullptr)
{
	be_app = this;
	// A message for the application must wake its loop from the display.
	// A quit request begins the end: from then on a later copy is told to
	// wait for this one to go, not that this one comes forward.
	fMessageQueued = [](uint32 what) {
		if (what == B_QUIT_REQUESTED)
			SetLeaving(true);
		Display()->Wake();
	};
	_CheckLaunch();
	fInitStatus = Display()->Open();
}

BApplication::~BApplication()
{
	// No relaunch request reaches the object once it is going.
	sLaunch = nullptr;
	delete fLaunch;
	Display()->Close();
	if (be_app == this)
		be_app = nullptr;
}

status_t
BApplication::InitCheck() const
{
	return fInitStatus;
}

const char*
BApplication::Signature() const
{
	return fSignature.c_str();
}

thread_id
BApplication::Run()
{
	if (fInitStatus != B_OK)
		return fInitStatus;
	sQuitAsked = 0;
	// A signal handler may not call into the display; a thread of its own,
	// asleep in a read until a handler writes, wakes the loop for it.
	int			signalPipe[2] = { -1, -1 };
	std::thread signalWaker;
	if (pipe2(signalPipe, O_CLOEXEC) == 0) {
		fcntl(signalPipe[1], F_SETFL, O_NONBLOCK);
		sSignalPipe = signalPipe[1];
		signalWaker = std::thread([fd = signalPipe[0]] {
			char	wake;
			ssize_t count;
			while ((count = read(fd, &wake, 1)) > 0
				|| (count < 0 && errno == EINTR)) {
				if (count > 0)
					Display()->Wake();
			}
		});
	}
	CatchQuitSignals();
	PostMessage(B_READY_TO_RUN);
	// The loop sleeps until there is work: input, a message (posting one
	// wakes the display), or a signal.
	while (!_Terminating()) {
		Display()->Pump(Desktop::Default(),
			CountQueuedMessages() > 0 ? 0 : B_INFINITE_TIMEOUT);
		if (sQuitAsked.exchange(0) != 0)
			PostMessage(B_QUIT_REQUESTED);
		while (!_Terminating() && _HandleNextMessage(0)) {
		}
	}
	if (signalWaker.joinable()) {
		sSignalPipe = -1;
		close(signalPipe[1]);
		signalWaker.join();
		close(signalPipe[0]);
	}
	return find_thread(nullptr);
}

void
BApplication::Quit()
{
	// The loop ends; the object stays for its owner to delete.
	SetLeaving(true);
	_StopLoop();
}

bool
BApplication::QuitRequested()
{
	Desktop* desktop = Desktop::Default();
	for (BWindow* window : desktop->AllWindows()) {
		// A window may be closing on its own thread meanwhile: the pin keeps
		// it from being deleted while it is locked here, and one whose loop
		// is already ending is waited for.
		if (!desktop->PinWindow(window))
			continue;
		window->Lock();
		if (window->_IsQuitting()) {
			thread_id thread = window->Thread();
			window->Unlock();
			desktop->UnpinWindow(window);
			wait_for_thread(thread, nullptr);
			continue;
		}
		bool agreed = window->QuitRequested();
		desktop->UnpinWindow(window);
		if (!agreed) {
			window->Unlock();
			return false;
		}
		window->Quit();
	}
	return true;
}

void
BApplication::_CheckLaunch()
{
	const char* executable = "/proc/self/exe";
	uint32		flags = BPrivate::LaunchFlagsOf(executable);
	if ((flags & B_LAUNCH_MASK) == B_MULTIPLE_LAUNCH)
		return;
	char	path[4096];
	ssize_t length = readlink(executable, path, sizeof(path) - 1);
	path[length > 0 ? length : 0] = '\0';

	fLaunch = new BPrivate::LaunchRendezvous;
	// A later start hands its launch token to the running copy, whose window
	// then may take the focus from whatever the user was doing meanwhile.
	BPrivate::launch_claim claim = fLaunch->Claim(
		BPrivate::LaunchRendezvousName(Signature(), path, flags),
		[this](int32 request, const BPrivate::LaunchToken& token) {
			_Relaunched(request, token);
		},
		BPrivate::LaunchTokenFromEnvironment(false));
	if (claim == BPrivate::LAUNCH_ALREADY_RUNNING) {
		// Nothing of this copy is shown or running yet.
		exit(0);
	}
	if (claim == BPrivate::LAUNCH_CLAIM_FAILED && !fLaunch->Problem().empty()) {
		// TRANSLATORS: on standard error when a start of the game cannot
		// tell whether a copy of it runs already; the first %s is the
		// program's name, the second says why.
		fprintf(stderr, B_TRANSLATE("%s: %s; starting anyway\n"),
			program_invocation_short_name, fLaunch->Problem().c_str());
	}
	if (claim == BPrivate::LAUNCH_CLAIMED)
		sLaunch = fLaunch;
}

// On the rendezvous' thread. The request goes through the front window's
// queue: a window busy with the start of a quit comes to it only once the
// quit request is out, and the later copy then hears that this one goes.
void
BApplication::_Relaunched(int32 request, const BPrivate::LaunchToken& token)
{
	// Pinned, as in QuitRequested: the window may be quitting on its own
	// thread meanwhile.
	NoteQuitAsked();
	Desktop* desktop = Desktop::Default();
	BWindow* front = desktop->PinFrontWindow();
	if (front == nullptr) {
		// Nothing shows yet: the window this copy is about to show is the
		// answer.
		fLaunch->Answer(request);
		return;
	}
	BMessage message(B_SILENT_RELAUNCH);
	message.AddInt32("kx:request", request);
	message.AddString("kx:activation", token.activation.c_str());
	message.AddString("kx:startup-id", token.startupId.c_str());
	front->PostMessage(&message);
	desktop->UnpinWindow(front);
}

void
BApplication::ReadyToRun()
{ }

void
BApplication::ArgvReceived(int32, char**)
{ }

void
BApplication::AboutRequested()
{ }

void
BApplication::MessageReceived(BMessage* message)
{
	BLooper::MessageReceived(message);
}

void
BApplication::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (message->what == B_READY_TO_RUN
		&& (handler == this || handler == nullptr)) {
		ReadyToRun();
		return;
	}
	if (message->what == B_QUIT_REQUESTED
		&& (handler == this || handler == nullptr)) {
		if (QuitRequested())
			Quit();
		else
			SetLeaving(false);
		return;
	}
	BLooper::DispatchMessage(message, handler);
}

int32
BApplication::CountWindows() const
{
	return (int32)Desktop::Default()->AllWindows().size();
}

BWindow*
BApplication::WindowAt(int32 index) const
{
	std::vector<BWindow*> windows = Desktop::Default()->AllWindows();
	if (index < 0 || index >= (int32)windows.size())
		return nullptr;
	return windows[index];
}
