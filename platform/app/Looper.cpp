#include <AppDefs.h>
#include <Looper.h>

#include <algorithm>
#include <chrono>

#include "RecursiveLock.h"

BLooper::BLooper(const char* name) :
	BHandler(name),
	fLock(new BPrivate::RecursiveLock),
	fThread(-1),
	fTerminating(false),
	fCurrentMessage(nullptr)
{
	AddHandler(this);
}

BLooper::~BLooper()
{
	std::lock_guard<std::mutex> guard(fQueueLock);
	for (Envelope& envelope : fQueue)
		delete envelope.message;
	fQueue.clear();
	delete fLock;
}

thread_id
BLooper::Run()
{
	if (fThread >= 0)
		return fThread;
	fThread = spawn_thread(_LoopEntry, Name(), B_NORMAL_PRIORITY, this);
	if (fThread >= 0)
		resume_thread(fThread);
	return fThread;
}

status_t
BLooper::_LoopEntry(void* data)
{
	BLooper* looper = static_cast<BLooper*>(data);
	looper->_Loop();
	looper->_LoopEnded();
	return B_OK;
}

void
BLooper::_Loop()
{
	while (!fTerminating)
		_HandleNextMessage(-1);
}

void
BLooper::_LoopEnded()
{
	// A thread that quit this looper from outside may still be giving back
	// its locks: the looper goes only once it has them all.
	Lock();
	delete this;
}

bool
BLooper::_HandleNextMessage(bigtime_t timeout)
{
	Envelope envelope;
	{
		std::unique_lock<std::mutex> guard(fQueueLock);
		auto ready = [&] { return !fQueue.empty() || fTerminating; };
		if (timeout < 0)
			fQueueChanged.wait(guard, ready);
		else
			fQueueChanged.wait_for(
				guard, std::chrono::microseconds(timeout), ready);
		if (fQueue.empty() || fTerminating)
			return false;
		envelope = fQueue.front();
		fQueue.pop_front();
	}
	Lock();
	// Told to quit while waiting for the lock: nothing more is handled.
	bool stopped = fTerminating;
	if (!stopped) {
		fCurrentMessage = envelope.message;
		DispatchMessage(envelope.message,
			envelope.handler != nullptr ? envelope.handler : this);
		fCurrentMessage = nullptr;
	}
	Unlock();
	delete envelope.message;
	fHandled++;
	return !stopped;
}

void
BLooper::_WakeUp()
{
	std::lock_guard<std::mutex> guard(fQueueLock);
	fQueueChanged.notify_all();
}

void
BLooper::_StopLoop()
{
	std::lock_guard<std::mutex> guard(fQueueLock);
	fTerminating = true;
	fQueueChanged.notify_all();
}

void
BLooper::Quit()
{
	if (fThread < 0) {
		// The loop never ran: nothing else can be inside it.
		_LoopEnded();
		return;
	}
	if (find_thread(nullptr) == fThread) {
		_StopLoop(); // the loop ends when the current message has been handled
		return;
	}
	// Once stopped, the loop deletes the looper as soon as this thread has
	// given back its locks: nothing of it may be touched after the last one.
	thread_id				 thread = fThread;
	BPrivate::RecursiveLock* lock = fLock;
	int32					 locks = lock->IsLocked() ? lock->CountLocks() : 0;
	_StopLoop();
	for (int32 i = 0; i < locks; i++)
		lock->Unlock();
	wait_for_thread(thread, nullptr);
}

bool
BLooper::QuitRequested()
{
	return true;
}

status_t
BLooper::PostMessage(uint32 what)
{
	BMessage message(what);
	return PostMessage(&message);
}

status_t
BLooper::PostMessage(
	BMessage* message, BHandler* handler, BHandler* /*replyTo*/)
{
	if (message == nullptr)
		return B_BAD_VALUE;
	std::lock_guard<std::mutex> guard(fQueueLock);
	if (fTerminating)
		return B_BAD_VALUE;
	fQueue.push_back(Envelope { new BMessage(*message), handler });
	fPosted++;
	fQueueChanged.notify_all();
	if (fMessageQueued != nullptr)
		fMessageQueued(message->what);
	return B_OK;
}

void
BLooper::DispatchMessage(BMessage* message, BHandler* handler)
{
	if (handler == nullptr)
		handler = this;
	if (message->what == B_QUIT_REQUESTED && handler == this) {
		if (QuitRequested())
			Quit();
		return;
	}
	handler->MessageReceived(message);
}

void
BLooper::MessageReceived(BMessage* message)
{
	BHandler::MessageReceived(message);
}

BMessage*
BLooper::CurrentMessage() const
{
	return fCurrentMessage;
}

void
BLooper::AddHandler(BHandler* handler)
{
	if (handler == nullptr)
		return;
	handler->fLooper = this;
	if (std::find(fHandlers.begin(), fHandlers.end(), handler)
		== fHandlers.end())
		fHandlers.push_back(handler);
}

bool
BLooper::RemoveHandler(BHandler* handler)
{
	auto it = std::find(fHandlers.begin(), fHandlers.end(), handler);
	if (it == fHandlers.end() || handler == this)
		return false;
	fHandlers.erase(it);
	handler->fLooper = nullptr;
	return true;
}

bool
BLooper::Lock()
{
	fLock->Lock();
	return true;
}

void
BLooper::Unlock()
{
	fLock->Unlock();
}

status_t
BLooper::LockWithTimeout(bigtime_t timeout)
{
	return fLock->LockWithTimeout(timeout) ? B_OK : B_TIMED_OUT;
}

bool
BLooper::IsLocked() const
{
	return fLock->IsLocked();
}

int32
BLooper::CountLocks() const
{
	return fLock->CountLocks();
}

thread_id
BLooper::LockingThread() const
{
	return fLock->LockingThread();
}

thread_id
BLooper::Thread() const
{
	return fThread;
}

bool
BLooper::IsRunning() const
{
	return fThread >= 0 && !fTerminating;
}

int32
BLooper::CountQueuedMessages() const
{
	std::lock_guard<std::mutex> guard(fQueueLock);
	return (int32)fQueue.size();
}
