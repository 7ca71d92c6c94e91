#ifndef _KX_RECURSIVE_LOCK_H
#define _KX_RECURSIVE_LOCK_H

// A lock owned by one thread at a time that its owner may take again; it is
// free once the owner has released it as often as it took it.

#include <OS.h>

#include <condition_variable>
#include <mutex>

namespace BPrivate {

class RecursiveLock {
public:
	RecursiveLock();

	void	  Lock();
	// Gives up after timeout microseconds of real time; false then.
	bool	  LockWithTimeout(bigtime_t timeout);
	void	  Unlock();

	bool	  IsLocked() const;		 // by the calling thread
	int32	  CountLocks() const;	 // by its owner
	thread_id LockingThread() const; // -1 when free

private:
	mutable std::mutex		fMutex;
	std::condition_variable fReleased;
	thread_id				fOwner;
	int32					fCount;
};

} // namespace BPrivate

#endif
