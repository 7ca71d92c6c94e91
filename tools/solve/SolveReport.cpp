#include "SolveReport.h"

#include <cstdio>

#include "SolveArguments.h"


void
PrintGame(std::ostream& out, const std::vector<SolveStep>& steps)
{
	for (const SolveStep& step : steps) {
		out << step.row << ' ' << SequenceText(step.guess) << ' ' << step.exact
			<< ' ' << step.color << '\n';
	}
}


void
PrintAllSecrets(std::ostream& out, const std::vector<int32_t>& rows)
{
	int32_t worst = 0;
	int64_t total = 0;
	for (int32_t needed : rows) {
		total += needed;
		if (needed > worst)
			worst = needed;
	}

	std::vector<int32_t> counts(worst + 1, 0);
	for (int32_t needed : rows)
		counts[needed]++;
	for (int32_t needed = 1; needed <= worst; needed++) {
		if (counts[needed] > 0)
			out << needed << ' ' << counts[needed] << '\n';
	}

	char mean[32];
	snprintf(mean, sizeof(mean), "%.4f",
		rows.empty() ? 0.0 : (double)total / rows.size());
	out << "mean " << mean << '\n';

	out << "worst " << worst;
	for (size_t value = 0; value < rows.size(); value++) {
		if (rows[value] == worst)
			out << ' ' << SequenceText(SequenceFromValue((int32_t)value));
	}
	out << '\n';
}


void
PrintSolveHelp(std::ostream& out)
{
	out << "Usage: kalvex-solve SECRET\n"
		   "       kalvex-solve --all\n"
		   "\n"
		   "Plays the computer player's game against a secret code and prints\n"
		   "its guesses, without a board and without pauses.\n"
		   "\n"
		   "SECRET is five digits 0 to 8, hole 0 first, e.g. 31415. The "
		   "colours\n"
		   "are 0 red, 1 yellow, 2 blue, 3 green, 4 purple, 5 orange, 6 grey,\n"
		   "7 black, 8 white. One line per guess: ROW GUESS EXACT COLOR, from\n"
		   "row 13 (the bottom row, played first) upward; the last line is "
		   "the\n"
		   "winning guess with 5 0.\n"
		   "\n"
		   "--all  finds the rows the player needs for each of the 59,049\n"
		   "       secrets. One line ROWS COUNT for each number of rows that\n"
		   "       occurs, ascending; then 'mean X.XXXX', the average number "
		   "of\n"
		   "       rows; then 'worst N' followed, on the same line, by every\n"
		   "       secret that needs N rows, in counting order (hole 0 is the\n"
		   "       lowest digit).\n"
		   "-h, --help  shows this text.\n"
		   "\n"
		   "Exit status: 0 on success, 2 when the arguments are wrong.\n";
}
