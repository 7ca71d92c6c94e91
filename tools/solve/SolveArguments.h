#ifndef SOLVE_ARGUMENTS_H
#define SOLVE_ARGUMENTS_H

#include <cstdint>
#include <string>

#include "GuessRule.h"


enum SolveMode {
	SOLVE_HELP,
	SOLVE_ONE,	// play the game against secret
	SOLVE_ALL,	// the table over all secrets
	SOLVE_ERROR // error holds the one-line message
};


// The most codes a board may have for the strategies that rank every code
// as a guess: six holes of eight colours take about a minute on two cores,
// and the work grows faster than the number of codes beyond.
const int32_t kMaxRankedCodes = 262144;


struct SolveRequest {
	SolveMode	 mode = SOLVE_ERROR;
	StrategyKind strategy = STRATEGY_GAME;
	int			 holes = 5;
	int			 colours = 9;
	// The secret of SOLVE_ONE and the opening guess (-1 when the strategy
	// chooses it), as code numbers on this board.
	int32_t		 secret = -1;
	int32_t		 first = -1;
	bool		 json = false;
	std::string	 error;
};


// Reads the command line of kalvex-solve: a secret or --all, with the
// options --strategy, --holes, --colours, --first and --json in any order
// (each value as the next argument or after '='); or --help (-h).
SolveRequest ParseSolveArguments(int argc, const char* const argv[]);

// Reads a code of holes digits 0 to colours - 1, hole 0 first ("31415"),
// as its number, hole 0 the lowest digit.
bool ParseCode(const std::string& text, int holes, int colours, int32_t& code);

#endif // SOLVE_ARGUMENTS_H
