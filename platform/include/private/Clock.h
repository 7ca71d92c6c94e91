#ifndef _KX_CLOCK_H
#define _KX_CLOCK_H

// The one clock behind snooze() and system_time(). Tests install a
// ManualClock so that timed behaviour runs in virtual time.

#include <SupportDefs.h>

#include <condition_variable>
#include <mutex>
#include <set>

namespace BPrivate {

class Clock {
public:
	virtual ~Clock();
	// Microseconds since an arbitrary start (the boot, for the real clock).
	virtual bigtime_t Now() = 0;
	// Blocks the calling thread for the given time.
	virtual void	  Sleep(bigtime_t microseconds) = 0;
};

// The system's monotonic clock and real sleeps.
class SystemClock : public Clock {
public:
	bigtime_t Now() override;
	void	  Sleep(bigtime_t microseconds) override;
};

// Virtual time. In manual mode a sleeper waits until Advance() has moved the
// time past its wake-up point; in automatic mode every sleep advances the
// time by its own length and returns at once.
class ManualClock : public Clock {
public:
	explicit ManualClock(bool automatic = false, bigtime_t start = 1000000);

	bigtime_t Now() override;
	void	  Sleep(bigtime_t microseconds) override;

	void	  SetAutomatic(bool automatic);
	void	  Advance(bigtime_t microseconds);
	// Moves the time to the earliest wake-up point of a sleeper, if any.
	bool	  AdvanceToNextWakeup();
	int32	  CountSleepers();
	// Waits (in real time, up to timeout microseconds) until at least count
	// threads sleep on this clock; false on time-out.
	bool	  WaitForSleepers(int32 count, bigtime_t timeout = 10000000);
	// Sleeps started since construction, for tests of pacing.
	int64	  CountSleeps();

private:
	std::mutex				 fLock;
	std::condition_variable	 fChanged;
	bigtime_t				 fNow;
	bool					 fAutomatic;
	int64					 fSleeps;
	std::multiset<bigtime_t> fWakeups;
};

// Installs a clock (null restores the system clock); returns the previous one.
Clock* SetClock(Clock* clock);
Clock* CurrentClock();

} // namespace BPrivate

#endif
