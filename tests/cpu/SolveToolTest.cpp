#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

#include "SolveArguments.h"
#include "SolveReport.h"
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


TEST(SolveToolTest, ReadsSecretsAndOptions)
{
	SolveRequest request = Parse({ "88310" });
	EXPECT_EQ(request.mode, SOLVE_ONE);
	EXPECT_EQ(request.secret, Sequence(8, 8, 3, 1, 0));
	EXPECT_EQ(Parse({ "--all" }).mode, SOLVE_ALL);
	EXPECT_EQ(Parse({ "--help" }).mode, SOLVE_HELP);
	EXPECT_EQ(Parse({ "-h" }).mode, SOLVE_HELP);
}


TEST(SolveToolTest, RejectsBadInputNamingIt)
{
	struct {
		std::vector<const char*> arguments;
		const char*				 named;
	} cases[] = {
		{ { "3141" }, "'3141' is not a secret" },
		{ { "314159" }, "'314159' is not a secret" },
		{ { "31419" }, "'31419' is not a secret" },
		{ { "3141a" }, "'3141a' is not a secret" },
		{ { "" }, "'' is not a secret" },
		{ { "31415", "27182" }, "'27182'" },
		{ { "--all", "31415" }, "'31415'" },
		{ { "--every" }, "'--every'" },
		{ { "-1415" }, "'-1415'" },
		{ {}, "no secret given" },
	};
	for (const auto& test : cases) {
		SolveRequest request = Parse(test.arguments);
		EXPECT_EQ(request.mode, SOLVE_ERROR) << test.named;
		EXPECT_EQ(request.error.rfind("kalvex-solve: ", 0), 0u)
			<< request.error;
		EXPECT_NE(request.error.find(test.named), std::string::npos)
			<< request.error;
		EXPECT_EQ(request.error.find('\n'), std::string::npos) << request.error;
	}
}


TEST(SolveToolTest, SummarisesRowsCounts)
{
	// Values 0 to 4 are the codes 00000, 10000, 20000, 30000, 40000.
	std::ostringstream out;
	PrintAllSecrets(out, { 2, 1, 4, 4, 2 });
	EXPECT_EQ(out.str(),
		"1 1\n"
		"2 2\n"
		"4 2\n"
		"mean 2.6000\n"
		"worst 4 20000 30000\n");
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
