#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <vector>

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


// The options and every kind of bad input, which is named in one line.
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
		{ { "3141" }, SOLVE_ERROR, "'3141' is not a secret" },
		{ { "314159" }, SOLVE_ERROR, "'314159' is not a secret" },
		{ { "31419" }, SOLVE_ERROR, "'31419' is not a secret" },
		{ { "3141a" }, SOLVE_ERROR, "'3141a' is not a secret" },
		{ { "" }, SOLVE_ERROR, "'' is not a secret" },
		{ { "31415", "27182" }, SOLVE_ERROR, "'27182'" },
		{ { "--all", "31415" }, SOLVE_ERROR, "'31415'" },
		{ { "--every" }, SOLVE_ERROR, "'--every'" },
		{ { "-1415" }, SOLVE_ERROR, "'-1415'" },
		{ {}, SOLVE_ERROR, "no secret given" },
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


TEST(SolveToolTest, CommandSolvesTabulatesAndReportsErrors)
{
	CommandResult game = RunSolve("31415");
	EXPECT_EQ(game.status, 0);
	EXPECT_EQ(game.output, kGame31415);

	CommandResult bad = RunSolve("3141");
	EXPECT_EQ(bad.status, 2);
	EXPECT_EQ(bad.output,
		"kalvex-solve: '3141' is not a secret: give five"
		" digits 0 to 8, like 31415\n");

	// Rows needed over every secret: the two worst need twelve.
	CommandResult all = RunSolve("--all");
	EXPECT_EQ(all.status, 0);
	EXPECT_EQ(all.output,
		"1 1\n2 19\n3 188\n4 1473\n5 7094\n6 17615\n7 19914\n"
		"8 10002\n9 2424\n10 295\n11 22\n12 2\nmean 6.6403\nworst 12 77835 "
		"78835\n");
}
