#include <benchmark/benchmark.h>

#include <list>
#include <vector>

#include "Sequence.h"
#include "Strategy.h"


// The list the player builds after its first guess scored 0 exact, 2 colour:
// the largest one, 14,240 codes.
static void
BM_BuildCandidates(benchmark::State& state)
{
	for (auto _ : state) {
		std::list<Sequence> candidates;
		BuildCandidates(FirstGuess(), 0, 2, candidates);
		benchmark::DoNotOptimize(candidates.size());
	}
}
BENCHMARK(BM_BuildCandidates)->Unit(benchmark::kMicrosecond);


// A whole game's computation; the target is under 5 ms. The arguments are
// base-9 values of secrets: (3,1,4,1,5), (0,0,0,0,0), (8,7,6,5,4) and the
// two that need the most rows, (7,7,8,3,5) and (7,8,8,3,5).
static void
BM_SolveSecret(benchmark::State& state)
{
	const Sequence secret = SequenceFromValue((int32_t)state.range(0));
	for (auto _ : state) {
		std::vector<SolveStep> steps = SolveSecret(secret);
		benchmark::DoNotOptimize(steps.data());
	}
}
BENCHMARK(BM_SolveSecret)
	->Arg(SequenceValue(Sequence(3, 1, 4, 1, 5)))
	->Arg(SequenceValue(Sequence(0, 0, 0, 0, 0)))
	->Arg(SequenceValue(Sequence(8, 7, 6, 5, 4)))
	->Arg(SequenceValue(Sequence(7, 7, 8, 3, 5)))
	->Arg(SequenceValue(Sequence(7, 8, 8, 3, 5)))
	->Unit(benchmark::kMicrosecond);


// The rows needed by every secret; the target is under 100 ms.
static void
BM_SolveAllSecrets(benchmark::State& state)
{
	std::vector<int32_t> rows;
	for (auto _ : state) {
		SolveAllSecrets(rows);
		benchmark::DoNotOptimize(rows.data());
	}
}
BENCHMARK(BM_SolveAllSecrets)->Unit(benchmark::kMillisecond);
