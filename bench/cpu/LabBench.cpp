#include <benchmark/benchmark.h>

#include <string>
#include <thread>
#include <vector>

#include "Strategy.h"
#include "StrategyLab.h"


// Every secret of a board played by one strategy of the lab, on all
// processors, from the openings of the published tables on five holes
// (21100 with eight colours, 32100 with nine) and from the strategy's own
// on four. The label gives the table's total and worst case, to compare
// with the published figures. The arguments: strategy, holes, colours.
static void
BM_LabSolveAll(benchmark::State& state)
{
	LabSettings settings;
	settings.strategy = (StrategyKind)state.range(0);
	settings.holes = (int)state.range(1);
	settings.colours = (int)state.range(2);
	settings.threads = std::max(1u, std::thread::hardware_concurrency());
	if (RanksGuesses(settings.strategy) && settings.holes == 5) {
		const CodeSpace space(5, settings.colours);
		space.Parse(settings.colours == 8 ? "21100" : "32100", settings.first);
	}
	std::vector<int32_t> rows;
	for (auto _ : state) {
		StrategyLab lab(settings);
		lab.SolveAll(rows);
		benchmark::DoNotOptimize(rows.data());
	}
	int64_t total = 0;
	int32_t worst = 0;
	for (int32_t needed : rows) {
		total += needed;
		worst = std::max(worst, needed);
	}
	// In the label, as the counters would round the total.
	state.SetLabel(std::string(StrategyName(settings.strategy)) + " total "
		+ std::to_string(total) + " worst " + std::to_string(worst));
}
BENCHMARK(BM_LabSolveAll)
	->ArgNames({ "strategy", "holes", "colours" })
	->ArgsProduct({ { STRATEGY_GAME, STRATEGY_FIRST, STRATEGY_KNUTH,
						STRATEGY_PARTS, STRATEGY_SIZE, STRATEGY_ENTROPY },
		{ 4 }, { 6 } })
	->ArgsProduct({ { STRATEGY_GAME, STRATEGY_FIRST, STRATEGY_KNUTH,
						STRATEGY_PARTS, STRATEGY_SIZE, STRATEGY_ENTROPY },
		{ 5 }, { 8, 9 } })
	->Iterations(1)
	->UseRealTime()
	->Unit(benchmark::kMillisecond);


// The yardstick, run beside the lab on the same machine: the game's own
// player over its 59,049 secrets, as kalvex-solve --all has always done it,
// on one thread.
static void
BM_GameSolveAllYardstick(benchmark::State& state)
{
	std::vector<int32_t> rows;
	for (auto _ : state) {
		SolveAllSecrets(rows);
		benchmark::DoNotOptimize(rows.data());
	}
}
BENCHMARK(BM_GameSolveAllYardstick)->Unit(benchmark::kMillisecond);
