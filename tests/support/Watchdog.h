#ifndef KX_TEST_WATCHDOG_H
#define KX_TEST_WATCHDOG_H

// Ends the test program when a step makes no progress for too long in real
// time, naming the step: a deadlock then fails the run instead of hanging
// it until the test runner's own time-out. Guards the waits that cannot
// take a time limit themselves (a lock, a join, a wait for a thread).

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace kxtest {

// Real time that any wait of a test may take before it counts as a hang.
constexpr auto kWatchdog = std::chrono::seconds(10);


// Polls until done() holds; false once the watchdog's time has passed.
template <typename Condition>
bool
PollUntil(Condition done)
{
	auto deadline = std::chrono::steady_clock::now() + kWatchdog;
	while (!done()) {
		if (std::chrono::steady_clock::now() > deadline)
			return false;
		std::this_thread::yield();
	}
	return true;
}

class Watchdog {
public:
	explicit Watchdog(std::chrono::steady_clock::duration limit = kWatchdog) :
		fLimit(limit),
		fLast(std::chrono::steady_clock::now()),
		fThread([this] { _Watch(); })
	{ }

	~Watchdog()
	{
		{
			std::lock_guard<std::mutex> guard(fLock);
			fDone = true;
		}
		fChanged.notify_all();
		fThread.join();
	}

	// Marks progress; the next step must make some within the limit.
	void
	Beat(const std::string& step)
	{
		std::lock_guard<std::mutex> guard(fLock);
		fStep = step;
		fLast = std::chrono::steady_clock::now();
	}

private:
	void
	_Watch()
	{
		std::unique_lock<std::mutex> guard(fLock);
		while (!fDone) {
			auto due = fLast + fLimit;
			if (std::chrono::steady_clock::now() >= due) {
				fprintf(stderr,
					"watchdog: no progress in \"%s\"; taken for a "
					"deadlock\n",
					fStep.c_str());
				abort();
			}
			fChanged.wait_until(guard, due);
		}
	}

	std::chrono::steady_clock::duration	  fLimit;
	std::mutex							  fLock;
	std::condition_variable				  fChanged;
	std::chrono::steady_clock::time_point fLast;
	std::string							  fStep = "start";
	bool								  fDone = false;
	std::thread							  fThread;
};

} // namespace kxtest

#endif
