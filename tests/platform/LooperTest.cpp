#include <Looper.h>

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "Watchdog.h"

namespace {

// Records what it handles, and whether the looper was locked by the
// handling thread at the time.
class RecordingLooper : public BLooper {
public:
	RecordingLooper() :
		BLooper("recorder")
	{ }

	void
	MessageReceived(BMessage* message) override
	{
		std::lock_guard<std::mutex> guard(lock);
		lockedWhileHandling =
			lockedWhileHandling && IsLocked() && LockingThread() == Thread();
		log.push_back(message->what);
	}

	std::mutex			lock;
	std::vector<uint32> log;
	bool				lockedWhileHandling = true;
};

class ChainedHandler : public BHandler {
public:
	void
	MessageReceived(BMessage* message) override
	{
		if (message->what == 'mine')
			handled++;
		else
			BHandler::MessageReceived(message);
	}

	std::atomic<int> handled { 0 };
};

TEST(Looper, MessagesArriveInOrderWithTheLockHeldAndUnhandledOnesPassAlong)
{
	kxtest::Watchdog watchdog;
	RecordingLooper* looper = new RecordingLooper;
	ChainedHandler	 handler;
	looper->AddHandler(&handler);
	handler.SetNextHandler(looper);
	looper->Run();
	std::vector<uint32> expected;
	for (uint32 what = 1; what <= 200; what++) {
		looper->PostMessage(what);
		expected.push_back(what);
	}
	BMessage mine('mine'), other('othr');
	looper->PostMessage(&mine, &handler);
	looper->PostMessage(&other, &handler);
	expected.push_back('othr');
	EXPECT_TRUE(kxtest::PollUntil([&] {
		std::lock_guard<std::mutex> guard(looper->lock);
		return looper->log.size() >= expected.size();
	}));
	looper->Lock();
	EXPECT_EQ(handler.handled.load(), 1);
	EXPECT_EQ(looper->log, expected);
	EXPECT_TRUE(looper->lockedWhileHandling);
	looper->RemoveHandler(&handler);
	looper->Quit(); // from another thread: waits for the loop to end
}

TEST(Looper, LockIsRecursiveAndExclusive)
{
	kxtest::Watchdog watchdog;
	BLooper*		 looper = new BLooper("lockable");
	// Another thread's try with a time limit, let go at once if it succeeds.
	auto			 elsewhere = [looper] {
		status_t result = B_ERROR;
		std::thread([&] {
			EXPECT_FALSE(looper->IsLocked());
			result = looper->LockWithTimeout(1000);
			if (result == B_OK)
				looper->Unlock();
		}).join();
		return result;
	};
	ASSERT_TRUE(looper->Lock());
	ASSERT_TRUE(looper->Lock());
	EXPECT_EQ(looper->CountLocks(), 2);
	EXPECT_EQ(looper->LockingThread(), find_thread(nullptr));
	EXPECT_EQ(elsewhere(), B_TIMED_OUT);
	looper->Unlock();
	// Still held once.
	EXPECT_EQ(elsewhere(), B_TIMED_OUT);
	looper->Unlock();
	EXPECT_EQ(looper->LockingThread(), -1);
	EXPECT_EQ(elsewhere(), B_OK);

	looper->Lock();
	looper->Quit(); // never ran: deleted at once
}

TEST(Looper, QuitRequestedDecidesOnQuit)
{
	kxtest::Watchdog watchdog;
	class Stubborn : public BLooper {
	public:
		Stubborn(std::atomic<int>* asked) :
			BLooper("stubborn"),
			fAsked(asked)
		{ }
		bool
		QuitRequested() override
		{
			return ++*fAsked >= 2;
		}
		~Stubborn() override { *fAsked += 100; }

	private:
		std::atomic<int>* fAsked;
	};
	std::atomic<int> asked { 0 };
	Stubborn*		 looper = new Stubborn(&asked);
	thread_id		 thread = looper->Run();
	looper->PostMessage(B_QUIT_REQUESTED);
	looper->PostMessage(B_QUIT_REQUESTED);
	// The second request is agreed to: the loop ends and deletes the looper.
	wait_for_thread(thread, nullptr);
	EXPECT_EQ(asked.load(), 102);
}

} // namespace
