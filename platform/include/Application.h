#ifndef _APPLICATION_H
#define _APPLICATION_H

#include <Looper.h>

#include <string>

class BWindow;

namespace BPrivate {
class LaunchRendezvous;
struct LaunchToken;
}

// The application: its loop runs on the thread that calls Run(), the only
// thread that talks to the screen. When the executable's launch flags say
// single or exclusive launch and a copy already runs, the constructor asks
// that copy to bring its front window forward and ends the process with
// status 0, before any window of its own exists.
class BApplication : public BLooper {
public:
	explicit BApplication(const char* signature);
	virtual ~BApplication();

	status_t	 InitCheck() const;
	const char*	 Signature() const;

	// Runs the loop until the application quits; then returns.
	thread_id	 Run() override;
	void		 Quit() override;
	// By default asks every window to quit, each with its lock held, and
	// agrees once all have.
	bool		 QuitRequested() override;

	virtual void ReadyToRun();
	virtual void ArgvReceived(int32 argc, char** argv);
	virtual void AboutRequested();
	void		 MessageReceived(BMessage* message) override;
	void		 DispatchMessage(BMessage* message, BHandler* handler) override;

	int32		 CountWindows() const;
	BWindow*	 WindowAt(int32 index) const;

private:
	void		_CheckLaunch();
	void		_Relaunched(int32 request, const BPrivate::LaunchToken& token);

	std::string fSignature;
	status_t	fInitStatus;
	BPrivate::LaunchRendezvous* fLaunch;
};

extern BApplication* be_app;

#endif
