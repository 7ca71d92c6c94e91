#include "RecursiveLock.h"

#include <chrono>

namespace BPrivate {

RecursiveLock::RecursiveLock() :
	fOwner(-1),
	fCount(0)
{ }

void
RecursiveLock::Lock()
{
	thread_id					 self = find_thread(nullptr);
	std::unique_lock<std::mutex> guard(fMutex);
	if (fOwner == self) {
		fCount++;
		return;
	}
	fReleased.wait(guard, [&] { return fOwner < 0; });
	fOwner = self;
	fCount = 1;
}

bool
RecursiveLock::LockWithTimeout(bigtime_t timeout)
{
	thread_id					 self = find_thread(nullptr);
	std::unique_lock<std::mutex> guard(fMutex);
	if (fOwner == self) {
		fCount++;
		return true;
	}
	if (!fReleased.wait_for(guard, std::chrono::microseconds(timeout),
			[&] { return fOwner < 0; }))
		return false;
	fOwner = self;
	fCount = 1;
	return true;
}

void
RecursiveLock::Unlock()
{
	thread_id					self = find_thread(nullptr);
	std::lock_guard<std::mutex> guard(fMutex);
	if (fOwner != self || fCount <= 0)
		return;
	if (--fCount == 0) {
		fOwner = -1;
		fReleased.notify_one();
	}
}

bool
RecursiveLock::IsLocked() const
{
	thread_id					self = find_thread(nullptr);
	std::lock_guard<std::mutex> guard(fMutex);
	return fOwner == self;
}

int32
RecursiveLock::CountLocks() const
{
	std::lock_guard<std::mutex> guard(fMutex);
	return fCount;
}

thread_id
RecursiveLock::LockingThread() const
{
	std::lock_guard<std::mutex> guard(fMutex);
	return fOwner;
}

} // namespace BPrivate
