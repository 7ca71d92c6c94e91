#ifndef SOLVE_REPORT_H
#define SOLVE_REPORT_H

#include <cstdint>
#include <ostream>
#include <vector>

#include "CodeSpace.h"
#include "SolveArguments.h"
#include "StrategyLab.h"


// One line per guess: ROW GUESS EXACT COLOR, from the bottom row (13)
// upward, for at most the board's 14 rows.
void PrintGame(std::ostream& out, const CodeSpace& space,
	const std::vector<LabStep>& steps);

// From the rows needed by every secret (indexed by code number): one line
// ROWS COUNT for each number of rows that occurs, ascending, then
// "mean X.XXXX", then with withTotal "total N", then "worst N" followed on
// the same line by the secrets that need N rows, in counting order.
void PrintAllSecrets(std::ostream& out, const CodeSpace& space,
	const std::vector<int32_t>& rows, bool withTotal);

// The same as one JSON object, for programs: the request, the opening, and
// either the guesses of the game or the table over all secrets.
void PrintJson(std::ostream& out, const SolveRequest& request,
	const CodeSpace& space, int32_t opening, const std::vector<LabStep>& steps,
	const std::vector<int32_t>& rows);

// The text of kalvex-solve --help.
void PrintSolveHelp(std::ostream& out);

#endif // SOLVE_REPORT_H
