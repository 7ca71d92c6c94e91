#include "Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace BPrivate {

Clock::~Clock() = default;

bigtime_t
SystemClock::Now()
{
	using namespace std::chrono;
	return duration_cast<microseconds>(steady_clock::now().time_since_epoch())
		.count();
}

void
SystemClock::Sleep(bigtime_t microseconds)
{
	if (microseconds > 0)
		std::this_thread::sleep_for(std::chrono::microseconds(microseconds));
}

ManualClock::ManualClock(bool automatic, bigtime_t start) :
	fNow(start),
	fAutomatic(automatic),
	fSleeps(0)
{ }

bigtime_t
ManualClock::Now()
{
	std::lock_guard<std::mutex> guard(fLock);
	return fNow;
}

void
ManualClock::Sleep(bigtime_t microseconds)
{
	std::unique_lock<std::mutex> guard(fLock);
	fSleeps++;
	if (microseconds < 0)
		microseconds = 0;
	if (fAutomatic) {
		fNow += microseconds;
		fChanged.notify_all();
		return;
	}
	bigtime_t wakeup = fNow + microseconds;
	auto	  entry = fWakeups.insert(wakeup);
	fChanged.notify_all();
	fChanged.wait(guard, [&] { return fAutomatic || fNow >= wakeup; });
	fWakeups.erase(entry);
	fChanged.notify_all();
}

void
ManualClock::SetAutomatic(bool automatic)
{
	std::lock_guard<std::mutex> guard(fLock);
	fAutomatic = automatic;
	fChanged.notify_all();
}

void
ManualClock::Advance(bigtime_t microseconds)
{
	std::lock_guard<std::mutex> guard(fLock);
	fNow += microseconds;
	fChanged.notify_all();
}

bool
ManualClock::AdvanceToNextWakeup()
{
	std::lock_guard<std::mutex> guard(fLock);
	if (fWakeups.empty())
		return false;
	if (*fWakeups.begin() > fNow)
		fNow = *fWakeups.begin();
	fChanged.notify_all();
	return true;
}

int32
ManualClock::CountSleepers()
{
	std::lock_guard<std::mutex> guard(fLock);
	return (int32)fWakeups.size();
}

bool
ManualClock::WaitForSleepers(int32 count, bigtime_t timeout)
{
	std::unique_lock<std::mutex> guard(fLock);
	return fChanged.wait_for(guard, std::chrono::microseconds(timeout),
		[&] { return (int32)fWakeups.size() >= count; });
}

int64
ManualClock::CountSleeps()
{
	std::lock_guard<std::mutex> guard(fLock);
	return fSleeps;
}

static SystemClock		   sSystemClock;
static std::atomic<Clock*> sClock { &sSystemClock };

Clock*
SetClock(Clock* clock)
{
	return sClock.exchange(clock != nullptr ? clock : &sSystemClock);
}

Clock*
CurrentClock()
{
	return sClock.load();
}

} // namespace BPrivate
