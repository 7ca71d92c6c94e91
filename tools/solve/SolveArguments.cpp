#include "SolveArguments.h"

#include <Catalog.h>

#include "PegColor.h"


static const char* kCommand = "kalvex-solve";


static SolveRequest
Failure(const std::string& message)
{
	SolveRequest request;
	request.mode = SOLVE_ERROR;
	request.error = std::string(kCommand) + ": " + message;
	return request;
}


SolveRequest
ParseSolveArguments(int argc, const char* const argv[])
{
	if (argc < 2) {
		// TRANSLATORS: kalvex-solve's error when it is given no argument.
		// 31415 is an example secret (five digits 0 to 8); --all and --help
		// are options and stay as they are, here and below.
		return Failure(B_TRANSLATE("no secret given: give five digits 0 to "
								   "8, like 31415, or --all (see --help)"));
	}
	if (argc > 2) {
		return Failure(format_text(
			// TRANSLATORS: kalvex-solve's error for a second argument, which
			// %s is.
			B_TRANSLATE("unexpected argument '%s': give one secret or --all"),
			argv[2]));
	}

	const std::string argument = argv[1];
	SolveRequest	  request;
	if (argument == "--help" || argument == "-h") {
		request.mode = SOLVE_HELP;
		return request;
	}
	if (argument == "--all") {
		request.mode = SOLVE_ALL;
		return request;
	}
	if (!argument.empty() && argument[0] == '-') {
		return Failure(format_text(
			// TRANSLATORS: kalvex-solve's error for an option it does not
			// know, which %s is.
			B_TRANSLATE("unknown option '%s': see kalvex-solve --help"),
			argument.c_str()));
	}
	if (!ParseSecret(argument, request.secret)) {
		return Failure(format_text(
			// TRANSLATORS: kalvex-solve's error for an argument that is not
			// five digits 0 to 8; %s is the argument.
			B_TRANSLATE("'%s' is not a secret: give five digits 0 to 8, "
						"like 31415"),
			argument.c_str()));
	}
	request.mode = SOLVE_ONE;
	return request;
}


bool
ParseSecret(const std::string& text, Sequence& secret)
{
	if (text.size() != (size_t)kSequenceLength)
		return false;
	for (int i = 0; i < kSequenceLength; i++) {
		const int digit = text[i] - '0';
		if (digit < 0 || digit >= kPegColorCount)
			return false;
		secret.colors[i] = digit;
	}
	return true;
}


std::string
SequenceText(const Sequence& code)
{
	std::string text;
	for (int i = 0; i < kSequenceLength; i++)
		text += (char)('0' + code.colors[i]);
	return text;
}
