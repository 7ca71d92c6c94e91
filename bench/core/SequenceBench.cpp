#include <benchmark/benchmark.h>

#include "Sequence.h"


// Scoring a guess that shares colours in and out of place, the slow path of
// the colour pass.
static void
BM_Check(benchmark::State& state)
{
	Sequence secret(3, 1, 4, 1, 5);
	Sequence guess(1, 0, 0, 4, 4);
	for (auto _ : state) {
		int exact;
		int color;
		benchmark::DoNotOptimize(secret);
		benchmark::DoNotOptimize(guess);
		secret.Check(guess, exact, color);
		benchmark::DoNotOptimize(exact);
		benchmark::DoNotOptimize(color);
	}
}
BENCHMARK(BM_Check);


// A call whose exact count agrees, so that the colour test runs too.
static void
BM_Compatible(benchmark::State& state)
{
	Sequence code(2, 1, 1, 0, 5);
	Sequence guess(0, 1, 2, 3, 4);
	for (auto _ : state) {
		benchmark::DoNotOptimize(code);
		benchmark::DoNotOptimize(guess);
		bool result = code.Compatible(guess, 1, 2);
		benchmark::DoNotOptimize(result);
	}
}
BENCHMARK(BM_Compatible);


// One test of every code against a guess, as the enumeration does, without
// the list; the target is under a millisecond.
static void
BM_CompatibleAllCodes(benchmark::State& state)
{
	const Sequence guess(0, 1, 2, 3, 4);
	for (auto _ : state) {
		Sequence code(guess);
		int		 agreeing = 0;
		do {
			if (code.Compatible(guess, 0, 2))
				agreeing++;
			code++;
		} while (code != guess);
		benchmark::DoNotOptimize(agreeing);
	}
}
BENCHMARK(BM_CompatibleAllCodes)->Unit(benchmark::kMicrosecond);
