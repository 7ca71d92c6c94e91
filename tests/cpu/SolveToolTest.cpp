#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "ProgressBar.h"
#include "SolveArguments.h"
#include "Strategy.h"


namespace {

SolveRequest
Parse(std::vector<const char*> arguments)
{
	arguments.insert(arguments.begin(), "kalvex-solve");
	return ParseSolveArguments((int)arguments.size(), arguments.data());
}


struct CommandResult {
	std::string output;
	int			status;
};


// Runs the built command through the shell, standard error folded into the
// output.
CommandResult
RunSolve(const std::string& arguments)
{
	CommandResult run;
	std::string	  command =
		std::string("'") + KX_SOLVE_PATH + "' " + arguments + " 2>&1";
	FILE* pipe = popen(command.c_str(), "r");
	if (pipe == NULL) {
		run.status = -1;
		return run;
	}
	char   buffer[4096];
	size_t size;
	while ((size = fread(buffer, 1, sizeof(buffer), pipe)) > 0)
		run.output.append(buffer, size);
	int status = pclose(pipe);
	run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
	return run;
}


const char* kGame31415 = "13 01234 1 2\n"
						 "12 10044 0 2\n"
						 "11 21105 2 1\n"
						 "10 42205 1 1\n"
						 "9 31415 5 0\n";

} // namespace


// The options in any order and either form, and every kind of bad input,
// which is named in one line; boards too big for ranking every code are
// refused with the limit.
TEST(SolveToolTest, ReadsOptionsAndRejectsBadInputNamingIt)
{
	struct {
		std::vector<const char*> arguments;
		SolveMode				 mode;
		const char*				 named;
	} cases[] = {
		{ { "--all" }, SOLVE_ALL, nullptr },
		{ { "--help" }, SOLVE_HELP, nullptr },
		{ { "-h" }, SOLVE_HELP, nullptr },
		{ { "--holes", "4", "--colours=6", "--strategy", "knuth", "0123" },
			SOLVE_ONE, nullptr },
		{ { "--all", "--json", "--strategy=entropy", "--first", "32100" },
			SOLVE_ALL, nullptr },
		{ { "--strategy", "first", "--holes", "6", "--colours", "10", "--all" },
			SOLVE_ALL, nullptr },
		{ { "3141" }, SOLVE_ERROR, "'3141' is not a secret" },
		{ { "314159" }, SOLVE_ERROR, "'314159' is not a secret" },
		{ { "31419" }, SOLVE_ERROR, "'31419' is not a secret" },
		{ { "3141a" }, SOLVE_ERROR, "'3141a' is not a secret" },
		{ { "" }, SOLVE_ERROR, "'' is not a secret" },
		{ { "--holes", "4", "--colours", "6", "0126" }, SOLVE_ERROR,
			"'0126' is not a secret: give 4 digits 0 to 5, like 3141" },
		{ { "31415", "27182" }, SOLVE_ERROR, "'27182'" },
		{ { "--all", "31415" }, SOLVE_ERROR, "'31415'" },
		{ { "--every" }, SOLVE_ERROR, "'--every'" },
		{ { "-1415" }, SOLVE_ERROR, "'-1415'" },
		{ {}, SOLVE_ERROR, "no secret given" },
		{ { "--all", "--holes" }, SOLVE_ERROR, "'--holes' needs a value" },
		{ { "--all", "--holes", "7" }, SOLVE_ERROR, "from 2 to 6" },
		{ { "--all", "--holes=1" }, SOLVE_ERROR, "from 2 to 6" },
		{ { "--all", "--colours", "11" }, SOLVE_ERROR, "from 2 to 10" },
		{ { "--all", "--colours", "6x" }, SOLVE_ERROR, "'6x' colours" },
		{ { "--all", "--strategy", "best" }, SOLVE_ERROR,
			"'best' is not a strategy" },
		{ { "--all", "--first", "0123" }, SOLVE_ERROR,
			"'0123' is not a code for --first" },
		{ { "--all", "--strategy", "size", "--holes", "6", "--colours", "9" },
			SOLVE_ERROR,
			"at most 262144 codes, and 6 holes of 9 colours make "
			"531441" },
	};
	for (const auto& test : cases) {
		SolveRequest request = Parse(test.arguments);
		SCOPED_TRACE(request.error);
		EXPECT_EQ(request.mode, test.mode);
		if (test.named == nullptr)
			continue;
		EXPECT_EQ(request.error.rfind("kalvex-solve: ", 0), 0u);
		EXPECT_NE(request.error.find(test.named), std::string::npos);
		EXPECT_EQ(request.error.find('\n'), std::string::npos);
	}
}


// The game's own player prints exactly as it always has; other strategies
// add the total, and --json gives the same to programs.
TEST(SolveToolTest, CommandSolvesTabulatesAndReportsErrors)
{
	CommandResult game = RunSolve("31415");
	EXPECT_EQ(game.status, 0);
	EXPECT_EQ(game.output, kGame31415);
	EXPECT_EQ(RunSolve("--strategy game 31415").output, kGame31415);

	CommandResult bad = RunSolve("3141");
	EXPECT_EQ(bad.status, 2);
	EXPECT_EQ(bad.output,
		"kalvex-solve: '3141' is not a secret: give five"
		" digits 0 to 8, like 31415\n");
	CommandResult refused = RunSolve("--strategy knuth --holes 6 --all");
	EXPECT_EQ(refused.status, 2);
	EXPECT_EQ(refused.output.find('\n'), refused.output.size() - 1);

	// Rows needed over every secret: the two worst need twelve.
	CommandResult all = RunSolve("--all");
	EXPECT_EQ(all.status, 0);
	EXPECT_EQ(all.output,
		"1 1\n2 19\n3 188\n4 1473\n5 7094\n6 17615\n7 19914\n"
		"8 10002\n9 2424\n10 295\n11 22\n12 2\nmean 6.6403\nworst 12 77835 "
		"78835\n");

	const std::string classic = "--strategy knuth --holes 4 --colours 6 ";
	EXPECT_EQ(RunSolve(classic + "0123").output,
		"13 1100 1 1\n12 3200 0 3\n11 1020 1 2\n10 0123 4 0\n");
	EXPECT_EQ(RunSolve(classic + "--first 0011 0123")
				  .output.rfind("13 0011 1 1\n", 0),
		0u);
	CommandResult table = RunSolve(classic + "--all");
	EXPECT_EQ(table.output.rfind("1 1\n2 6\n3 62\n4 533\n5 694\n"
								 "mean 4.4761\ntotal 5801\nworst 5 5000 ",
				  0),
		0u);
	CommandResult json = RunSolve(classic + "--all --json");
	EXPECT_EQ(json.output.rfind("{\"strategy\": \"knuth\", \"holes\": 4, "
								"\"colours\": 6, \"first\": \"1100\", "
								"\"secrets\": 1296, \"table\": [{\"rows\": 1, "
								"\"count\": 1}, ",
				  0),
		0u);
	EXPECT_NE(json.output.find("\"mean\": 4.4761, \"total\": 5801, \"worst\": "
							   "5, \"worst_secrets\": [\"5000\", "),
		std::string::npos);
}


// The bar shows only on a terminal, only after a second, with the time left
// at the pace so far, and its line is cleared at the end.
TEST(SolveToolTest, ProgressShowsOnATerminalAfterASecond)
{
	std::ostringstream quiet;
	ProgressBar		   piped(quiet, false);
	piped.Show(25, 100, 3.0);
	piped.Finish();
	EXPECT_EQ(quiet.str(), "");

	std::ostringstream shown;
	ProgressBar		   bar(shown, true);
	bar.Show(10, 100, 0.9);
	EXPECT_EQ(shown.str(), "");
	bar.Show(25, 100, 3.0);
	EXPECT_EQ(
		shown.str(), "\r[#######.......................]  25%  0:09 left");
	bar.Finish();
	EXPECT_EQ(shown.str().substr(shown.str().size() - 4), "\r\033[K");
	EXPECT_EQ(ProgressBar::Line(0, 100, 2.0, 4), "[....]   0%");
	EXPECT_EQ(ProgressBar::Line(50, 100, 100.0, 4), "[##..]  50%  1:40 left");
}
