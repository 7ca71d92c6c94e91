#include <OS.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "Clock.h"
#include "Watchdog.h"

namespace {

std::atomic<int> sRuns { 0 };

status_t
CountRun(void* data)
{
	sRuns++;
	return *static_cast<int32*>(data);
}

TEST(KernelThreads, SpawnedThreadsWaitForResumeOrAWaiterAndHaveIds)
{
	kxtest::Watchdog watchdog;
	sRuns = 0;
	int32	  code = 42;
	thread_id thread =
		spawn_thread(CountRun, "counter", B_NORMAL_PRIORITY, &code);
	ASSERT_GE(thread, 0);
	// A suspended thread has not run; give the scheduler every chance.
	for (int i = 0; i < 1000; i++)
		std::this_thread::yield();
	EXPECT_EQ(sRuns.load(), 0);
	EXPECT_EQ(find_thread("counter"), thread);
	EXPECT_EQ(find_thread("no such thread"), B_NAME_NOT_FOUND);

	// It runs now; once it has ended its id names nothing any more.
	ASSERT_EQ(resume_thread(thread), B_OK);
	EXPECT_TRUE(kxtest::PollUntil(
		[&] { return resume_thread(thread) == B_BAD_THREAD_ID; }));
	EXPECT_EQ(sRuns.load(), 1);

	// Waiting for a suspended thread starts it, and gives its exit value.
	status_t exitValue = 0;
	code = 3;
	thread = spawn_thread(CountRun, "lazy", B_LOW_PRIORITY, &code);
	EXPECT_EQ(wait_for_thread(thread, &exitValue), B_OK);
	EXPECT_EQ(exitValue, 3);
	EXPECT_EQ(sRuns.load(), 2);
	// Ended and never-existing ids return at once.
	for (thread_id gone : { thread, -1, 999999 })
		EXPECT_EQ(wait_for_thread(gone, &exitValue), B_BAD_THREAD_ID);
}

TEST(KernelTime, ManualClockWakesEachSleeperExactlyOnTime)
{
	kxtest::Watchdog	  watchdog;
	BPrivate::ManualClock clock(false, 5000);
	BPrivate::SetClock(&clock);
	EXPECT_EQ(system_time(), 5000);
	std::atomic<int> order { 0 };
	int				 first = 0, second = 0;
	std::thread		 late([&] {
		 snooze(40000);
		 second = ++order;
	 });
	std::thread		 early([&] {
		 snooze(100);
		 first = ++order;
	 });
	ASSERT_TRUE(clock.WaitForSleepers(2));
	ASSERT_TRUE(clock.AdvanceToNextWakeup());
	early.join();
	EXPECT_EQ(system_time(), 5100);
	clock.Advance(39899);
	// One microsecond early: the late sleeper stays asleep, whatever chance
	// it gets.
	for (int i = 0; i < 1000; i++)
		std::this_thread::yield();
	EXPECT_EQ(clock.CountSleepers(), 1);
	EXPECT_EQ(order.load(), 1);
	clock.Advance(1);
	late.join();
	EXPECT_EQ(first, 1);
	EXPECT_EQ(second, 2);
	EXPECT_FALSE(clock.AdvanceToNextWakeup());

	// An automatic clock moves by every sleep at once.
	clock.SetAutomatic(true);
	snooze(500000);
	EXPECT_EQ(system_time(), 545000);
	EXPECT_EQ(clock.CountSleeps(), 3);
	BPrivate::SetClock(nullptr);
}

} // namespace
