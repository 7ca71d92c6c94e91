#include <Catalog.h>

#include <iostream>
#include <thread>
#include <unistd.h>
#include <vector>

#include "ProgressBar.h"
#include "SolveArguments.h"
#include "SolveReport.h"
#include "StrategyLab.h"


int
main(int argc, char** argv)
{
	open_catalog("kalvex");
	const SolveRequest request = ParseSolveArguments(argc, argv);
	if (request.mode == SOLVE_ERROR) {
		std::cerr << request.error << '\n';
		return 2;
	}
	if (request.mode == SOLVE_HELP) {
		PrintSolveHelp(std::cout);
		return 0;
	}

	LabSettings settings;
	settings.holes = request.holes;
	settings.colours = request.colours;
	settings.strategy = request.strategy;
	settings.first = request.first;
	settings.threads = std::max(1u, std::thread::hardware_concurrency());
	StrategyLab			 lab(settings);

	std::vector<LabStep> steps;
	std::vector<int32_t> rows;
	if (request.mode == SOLVE_ONE) {
		steps = lab.Play(request.secret);
	} else {
		ProgressBar progress(std::cerr, isatty(STDERR_FILENO));
		lab.SolveAll(rows, &progress);
		progress.Finish();
	}

	if (request.json) {
		PrintJson(std::cout, request, lab.space, lab.Opening(), steps, rows);
	} else if (request.mode == SOLVE_ONE) {
		PrintGame(std::cout, lab.space, steps);
	} else {
		// The game's own player on its own board prints as it always has.
		const bool asBefore = request.strategy == STRATEGY_GAME
			&& request.holes == 5 && request.colours == 9 && request.first < 0;
		PrintAllSecrets(std::cout, lab.space, rows, !asBefore);
	}
	return 0;
}
