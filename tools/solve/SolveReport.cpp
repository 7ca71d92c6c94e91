#include "SolveReport.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "Strategy.h"

#include <Catalog.h>


namespace {

// The table over all secrets.
struct SecretTable {
	std::vector<int64_t> counts; // indexed by rows needed
	int64_t				 total = 0;
	int32_t				 worst = 0;
	std::vector<int32_t> worstSecrets;
	std::string			 mean;
};


SecretTable
Tabulate(const std::vector<int32_t>& rows)
{
	SecretTable table;
	for (int32_t needed : rows) {
		table.total += needed;
		if (needed > table.worst)
			table.worst = needed;
	}
	table.counts.assign(table.worst + 1, 0);
	for (size_t secret = 0; secret < rows.size(); secret++) {
		table.counts[rows[secret]]++;
		if (rows[secret] == table.worst)
			table.worstSecrets.push_back((int32_t)secret);
	}
	char mean[32];
	snprintf(mean, sizeof(mean), "%.4f",
		rows.empty() ? 0.0 : (double)table.total / rows.size());
	table.mean = mean;
	return table;
}


// The rows of the board a game may use, and the row of its n-th guess.
int
ShownGuesses(const std::vector<LabStep>& steps)
{
	return std::min((int)steps.size(), (int)kStrategyRowCount);
}

} // namespace


void
PrintGame(std::ostream& out, const CodeSpace& space,
	const std::vector<LabStep>& steps)
{
	for (int n = 0; n < ShownGuesses(steps); n++) {
		out << kStrategyFirstRow - n << ' ' << space.Text(steps[n].guess) << ' '
			<< steps[n].exact << ' ' << steps[n].color << '\n';
	}
}


void
PrintAllSecrets(std::ostream& out, const CodeSpace& space,
	const std::vector<int32_t>& rows, bool withTotal)
{
	const SecretTable table = Tabulate(rows);
	for (int32_t needed = 1; needed <= table.worst; needed++) {
		if (table.counts[needed] > 0)
			out << needed << ' ' << table.counts[needed] << '\n';
	}
	out << "mean " << table.mean << '\n';
	if (withTotal)
		out << "total " << table.total << '\n';
	out << "worst " << table.worst;
	for (int32_t secret : table.worstSecrets)
		out << ' ' << space.Text(secret);
	out << '\n';
}


void
PrintJson(std::ostream& out, const SolveRequest& request,
	const CodeSpace& space, int32_t opening, const std::vector<LabStep>& steps,
	const std::vector<int32_t>& rows)
{
	out << "{\"strategy\": \"" << StrategyName(request.strategy)
		<< "\", \"holes\": " << space.holes
		<< ", \"colours\": " << space.colours << ", \"first\": \""
		<< space.Text(opening) << '"';
	if (request.mode == SOLVE_ONE) {
		out << ", \"secret\": \"" << space.Text(request.secret)
			<< "\", \"guesses\": [";
		for (int n = 0; n < ShownGuesses(steps); n++) {
			out << (n > 0 ? ", " : "") << "{\"row\": " << kStrategyFirstRow - n
				<< ", \"guess\": \"" << space.Text(steps[n].guess)
				<< "\", \"exact\": " << steps[n].exact
				<< ", \"colour\": " << steps[n].color << '}';
		}
		out << "]}\n";
		return;
	}

	const SecretTable table = Tabulate(rows);
	out << ", \"secrets\": " << rows.size() << ", \"table\": [";
	bool later = false;
	for (int32_t needed = 1; needed <= table.worst; needed++) {
		if (table.counts[needed] == 0)
			continue;
		out << (later ? ", " : "") << "{\"rows\": " << needed
			<< ", \"count\": " << table.counts[needed] << '}';
		later = true;
	}
	out << "], \"mean\": " << table.mean << ", \"total\": " << table.total
		<< ", \"worst\": " << table.worst << ", \"worst_secrets\": [";
	for (size_t n = 0; n < table.worstSecrets.size(); n++) {
		out << (n > 0 ? ", \"" : "\"") << space.Text(table.worstSecrets[n])
			<< '"';
	}
	out << "]}\n";
}


void
PrintSolveHelp(std::ostream& out)
{
	// TRANSLATORS: kalvex-solve --help: how to call it. Each paragraph of
	// the help is a text of its own; keep their lines within 72 columns.
	// SECRET names the argument: translate it alike in every paragraph.
	// The options (--all, -h, --help) stay as they are.
	out << B_TRANSLATE("Usage: kalvex-solve SECRET\n"
					   "       kalvex-solve --all\n");
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: the options of the usage, given
		// before or after the rest. NAME, N, C and CODE name their values.
		"       with any of --strategy NAME, --holes N, --colours C,\n"
		"       --first CODE and --json\n")
		<< "\n";
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: what the command does.
		"Plays the computer player's game against a secret code and prints\n"
		"its guesses, without a board and without pauses.\n");
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: what the options add to it.
		"The options play other strategies, on other boards and from other\n"
		"openings, to compare them over all secrets.\n")
		<< "\n";
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: the argument and the output.
		// ROW GUESS EXACT COLOR name the four numbers of each line that the
		// command prints; "5 0" is printed as it stands.
		"SECRET is five digits 0 to 8, hole 0 first, e.g. 31415. The colours\n"
		"are 0 red, 1 yellow, 2 blue, 3 green, 4 purple, 5 orange, 6 grey,\n"
		"7 black, 8 white. One line per guess: ROW GUESS EXACT COLOR, from\n"
		"row 13 (the bottom row, played first) upward; the last line is the\n"
		"winning guess with 5 0.\n");
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: the argument on other boards.
		"On other boards SECRET has one digit per hole, 0 up to one less\n"
		"than the colours (9 for a tenth); a game shows at most the board's\n"
		"14 rows.\n")
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
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: what --all adds with the options.
		// 'total' is printed in English as it stands: keep it.
		"       With another strategy, board or opening, 'total N', all the\n"
		"       rows added up, follows the mean.\n");
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: the options of the strategy lab.
		// The options and the names of the strategies stay as they are;
		// NAME, N, C and CODE name their values.
		"--strategy NAME  game (the default): the computer player, the\n"
		"       first code that agrees with every score, counting on from\n"
		"       its opening; first: the lowest-numbered code that agrees;\n"
		"       knuth: the guess whose largest part of the codes left is\n"
		"       smallest; parts: the guess with the most parts; size: the\n"
		"       smallest expected size of the part left; entropy: the most\n"
		"       information. The last four try every code as a guess; ties\n"
		"       go to a code that agrees, then to the lowest-numbered.\n"
		"--holes N      2 to 6 holes (default 5).\n"
		"--colours C    2 to 10 colours (default 9). knuth, parts, size\n"
		"       and entropy play boards of at most 262,144 codes (six\n"
		"       holes of eight colours).\n"
		"--first CODE   the opening guess, instead of the strategy's own.\n"
		"--json         the same as one JSON object, for programs.\n");
	// TRANSLATORS: kalvex-solve --help: the option --help.
	out << B_TRANSLATE("-h, --help  shows this text.\n") << "\n";
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: the progress bar.
		"On a terminal, work that lasts more than a second shows its\n"
		"progress on standard error.\n")
		<< "\n";
	out << B_TRANSLATE(
		// TRANSLATORS: kalvex-solve --help: the last line.
		"Exit status: 0 on success, 2 when the arguments are wrong.\n");
}
