#include "SolveReport.h"

#include <cstdio>

#include "SolveArguments.h"

#include <Catalog.h>


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
	// TRANSLATORS: kalvex-solve --help: how to call it. Each paragraph of
	// the help is a text of its own; keep their lines within 72 columns.
	// SECRET names the argument: translate it alike in every paragraph.
	// The options (--all, -h, --help) stay as they are.
	out << B_TRANSLATE("Usage: kalvex-solve SECRET\n"
					   "       kalvex-solve --all\n")
		<< "\n";
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: what the command does.
		"Plays the computer player's game against a secret code and prints\n"
		"its guesses, without a board and without pauses.\n")
		<< "\n";
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: the argument and the output.
		// ROW GUESS EXACT COLOR name the four numbers of each line that the
		// command prints; "5 0" is printed as it stands.
		"SECRET is five digits 0 to 8, hole 0 first, e.g. 31415. The colours\n"
		"are 0 red, 1 yellow, 2 blue, 3 green, 4 purple, 5 orange, 6 grey,\n"
		"7 black, 8 white. One line per guess: ROW GUESS EXACT COLOR, from\n"
		"row 13 (the bottom row, played first) upward; the last line is the\n"
		"winning guess with 5 0.\n")
		<< "\n";
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: the option --all and its output.
		// 'mean' and 'worst' are printed in English as they stand: keep
		// them. ROWS COUNT name the two numbers of a line; X.XXXX and N
		// stand for numbers.
		"--all  finds the rows the player needs for each of the 59,049\n"
		"       secrets. One line ROWS COUNT for each number of rows that\n"
		"       occurs, ascending; then 'mean X.XXXX', the average number of\n"
		"       rows; then 'worst N' followed, on the same line, by every\n"
		"       secret that needs N rows, in counting order (hole 0 is the\n"
		"       lowest digit).\n");
	// TRANSLATORS: kalvex-solve --help: the option --help.
	out << B_TRANSLATE("-h, --help  shows this text.\n") << "\n";
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: the last line.
		"Exit status: 0 on success, 2 when the arguments are wrong.\n");
}
