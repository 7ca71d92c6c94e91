#ifndef SOLVE_REPORT_H
#define SOLVE_REPORT_H

#include <cstdint>
#include <ostream>
#include <vector>

#include "Strategy.h"


// One line per guess: ROW GUESS EXACT COLOR, from the bottom row upward.
void PrintGame(std::ostream& out, const std::vector<SolveStep>& steps);

// From the rows needed by every secret (indexed by SequenceValue): one line
// ROWS COUNT for each number of rows that occurs, ascending, then
// "mean X.XXXX", then "worst N" followed on the same line by the secrets that
// need N rows, in counter order.
void PrintAllSecrets(std::ostream& out, const std::vector<int32_t>& rows);

// The text of kalvex-solve --help.
void PrintSolveHelp(std::ostream& out);

#endif // SOLVE_REPORT_H
