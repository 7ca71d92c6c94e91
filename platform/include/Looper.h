#ifndef _LOOPER_H
#define _LOOPER_H

#include <AppDefs.h>
#include <Handler.h>
#include <Message.h>
#include <OS.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <vector>

namespace BPrivate {
class RecursiveLock;
class TestAccess;
}

// A message queue served by a thread of its own. Each message is handled
// with the looper locked; the lock belongs to one thread at a time, which may
// take it again.
class BLooper : public BHandler {
public:
	explicit BLooper(const char* name = nullptr);
	virtual ~BLooper();

	// Starts the looper's thread; returns its id.
	virtual thread_id Run();
	// Ends the loop and deletes the looper. Called with the looper locked;
	// from another thread it waits until the loop's thread has ended.
	virtual void	  Quit();
	virtual bool	  QuitRequested();

	status_t		  PostMessage(uint32 what);
	// The looper takes over a copy of the message; the caller keeps its own.
	status_t	 PostMessage(BMessage* message, BHandler* handler = nullptr,
			BHandler* replyTo = nullptr);

	virtual void DispatchMessage(BMessage* message, BHandler* handler);
	void		 MessageReceived(BMessage* message) override;
	BMessage*	 CurrentMessage() const;

	void		 AddHandler(BHandler* handler);
	bool		 RemoveHandler(BHandler* handler);

	bool		 Lock();
	void		 Unlock();
	status_t	 LockWithTimeout(bigtime_t timeout);
	bool		 IsLocked() const;
	int32		 CountLocks() const;
	thread_id	 LockingThread() const;

	thread_id	 Thread() const;
	bool		 IsRunning() const;
	int32		 CountQueuedMessages() const;
	// True once the loop has been told to end.
	bool
	_IsQuitting() const
	{
		return fTerminating.load();
	}

protected:
	// The loop body; BApplication runs it on the thread that calls Run().
	void		 _Loop();
	// Waits up to timeout microseconds (negative: forever) for a message;
	// false when none came.
	bool		 _HandleNextMessage(bigtime_t timeout);
	// Deletes the looper once its loop has ended; windows override to
	// leave the screen first.
	virtual void _LoopEnded();
	void		 _WakeUp();
	// Ends the loop after the message being handled, without deleting.
	void		 _StopLoop();
	// Called with the queue locked after each message is queued, with its
	// code; a plain function, not a virtual hook, because a posting thread
	// may still be here while the looper's own thread has begun to delete it.
	void (*fMessageQueued)(uint32 what) = nullptr;
	bool
	_Terminating() const
	{
		return fTerminating;
	}

private:
	static status_t _LoopEntry(void* looper);

	struct Envelope {
		BMessage* message;
		BHandler* handler;
	};

	mutable std::mutex		 fQueueLock;
	std::condition_variable	 fQueueChanged;
	std::deque<Envelope>	 fQueue;
	BPrivate::RecursiveLock* fLock;
	thread_id				 fThread;
	std::atomic<bool>		 fTerminating;
	BMessage*				 fCurrentMessage;
	// Messages posted and fully handled so far, for tests that wait until
	// a looper has nothing left to do.
	std::atomic<int64>		 fPosted { 0 };
	std::atomic<int64>		 fHandled { 0 };
	std::vector<BHandler*>	 fHandlers;

	friend class BPrivate::TestAccess;
};

#endif
