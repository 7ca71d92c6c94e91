// Message round trips between two loopers: each message posted to one is
// answered by a post to the other, until the count runs out.

#include <Looper.h>

#include <benchmark/benchmark.h>

#include <future>

namespace {

enum {
	kPing = 'ping'
};

class Bouncer : public BLooper {
public:
	Bouncer(const char* name) :
		BLooper(name)
	{ }

	void
	MessageReceived(BMessage* message) override
	{
		if (message->what != kPing) {
			BLooper::MessageReceived(message);
			return;
		}
		int32 left = message->FindInt32("left");
		if (left == 0) {
			done->set_value();
			return;
		}
		message->ReplaceInt32("left", left - 1);
		partner->PostMessage(message);
	}

	Bouncer*			partner = nullptr;
	std::promise<void>* done = nullptr;
};

void
BM_LooperRoundTrips(benchmark::State& state)
{
	const int32 roundTrips = (int32)state.range(0);
	Bouncer*	a = new Bouncer("a");
	Bouncer*	b = new Bouncer("b");
	a->partner = b;
	b->partner = a;
	a->Run();
	b->Run();
	for (auto _ : state) {
		std::promise<void> done;
		a->done = b->done = &done;
		BMessage ping(kPing);
		ping.AddInt32("left", roundTrips * 2);
		a->PostMessage(&ping);
		done.get_future().wait();
	}
	state.SetItemsProcessed(state.iterations() * roundTrips);
	a->Lock();
	a->Quit();
	b->Lock();
	b->Quit();
}
BENCHMARK(BM_LooperRoundTrips)
	->Arg(1000)
	->Unit(benchmark::kMillisecond)
	->UseRealTime();

} // namespace
