#include "SolveArguments.h"

#include <Catalog.h>

#include <cstdlib>

#include "CodeSpace.h"


static const char* kCommand = "kalvex-solve";


static SolveRequest
Failure(const std::string& message)
{
	SolveRequest request;
	request.mode = SOLVE_ERROR;
	request.error = std::string(kCommand) + ": " + message;
	return request;
}


// An example code for the board's size, from the digits of pi.
static std::string
Example(int holes, int colours)
{
	static const char* kDigits = "314159";
	std::string		   example;
	for (int i = 0; i < holes; i++)
		example += (char)('0' + (kDigits[i] - '0') % colours);
	return example;
}


// The game's own board keeps the texts it always had.
static bool
GameBoard(const SolveRequest& request)
{
	return request.holes == 5 && request.colours == 9;
}


// Reads a whole number from low to high; false if text is anything else.
static bool
ParseNumber(const std::string& text, int low, int high, int& value)
{
	if (text.empty() || text.size() > 3)
		return false;
	for (char digit : text) {
		if (digit < '0' || digit > '9')
			return false;
	}
	value = atoi(text.c_str());
	return value >= low && value <= high;
}


bool
ParseCode(const std::string& text, int holes, int colours, int32_t& code)
{
	if (text.size() != (size_t)holes)
		return false;
	code = 0;
	for (int i = holes - 1; i >= 0; i--) {
		const int digit = text[i] - '0';
		if (digit < 0 || digit >= colours)
			return false;
		code = code * colours + digit;
	}
	return true;
}


SolveRequest
ParseSolveArguments(int argc, const char* const argv[])
{
	SolveRequest request;
	std::string	 secret;
	std::string	 first;
	bool		 all = false;
	bool		 firstGiven = false;
	bool		 given = false;

	for (int n = 1; n < argc; n++) {
		std::string argument = argv[n];
		if (argument == "--help" || argument == "-h") {
			request.mode = SOLVE_HELP;
			return request;
		}
		if (argument.empty() || argument[0] != '-') {
			if (given) {
				return Failure(format_text(
					B_TRANSLATE(
						// TRANSLATORS: kalvex-solve's error for a second
						// argument, which %s is.
						"unexpected argument '%s': give one secret or --all"),
					argument.c_str()));
			}
			secret = argument;
			given = true;
			continue;
		}
		if (argument == "--all") {
			if (given) {
				return Failure(format_text(
					B_TRANSLATE(
						"unexpected argument '%s': give one secret or --all"),
					argument.c_str()));
			}
			all = given = true;
			continue;
		}
		if (argument == "--json") {
			request.json = true;
			continue;
		}

		// The options with a value, as "--holes 4" or "--holes=4".
		std::string	 value;
		bool		 hasValue = false;
		const size_t equals = argument.find('=');
		if (equals != std::string::npos) {
			value = argument.substr(equals + 1);
			argument = argument.substr(0, equals);
			hasValue = true;
		}
		const bool known = argument == "--strategy" || argument == "--holes"
			|| argument == "--colours" || argument == "--first";
		if (!known) {
			return Failure(format_text(
				// TRANSLATORS: kalvex-solve's error for an option it does not
				// know, which %s is.
				B_TRANSLATE("unknown option '%s': see kalvex-solve --help"),
				argument.c_str()));
		}
		if (!hasValue) {
			if (n + 1 >= argc)
				return Failure(format_text(
					// TRANSLATORS: kalvex-solve's error for an option given
					// last without its value; %s is the option.
					B_TRANSLATE("option '%s' needs a value"),
					argument.c_str()));
			value = argv[++n];
		}
		if (argument == "--strategy") {
			if (!StrategyFromName(value, request.strategy)) {
				return Failure(format_text(
					// TRANSLATORS: kalvex-solve's error for a strategy it does
					// not know, which %s is. The names of the strategies
					// stay as they are.
					B_TRANSLATE("'%s' is not a strategy: give game, first, "
								"knuth, parts, size or entropy"),
					value.c_str()));
			}
		} else if (argument == "--holes") {
			if (!ParseNumber(value, kMinHoles, kMaxHoles, request.holes)) {
				return Failure(format_text(
					// TRANSLATORS: kalvex-solve's error for a number of holes
					// it does not play; %s is what was given, then the
					// smallest and the largest number.
					B_TRANSLATE("'%s' holes: give --holes from %d to %d"),
					value.c_str(), kMinHoles, kMaxHoles));
			}
		} else if (argument == "--colours") {
			if (!ParseNumber(
					value, kMinColours, kMaxColours, request.colours)) {
				return Failure(format_text(
					// TRANSLATORS: kalvex-solve's error for a number of
					// colours it does not play; %s is what was given, then
					// the smallest and the largest number.
					B_TRANSLATE("'%s' colours: give --colours from %d to %d"),
					value.c_str(), kMinColours, kMaxColours));
			}
		} else {
			first = value;
			firstGiven = true;
		}
	}

	const std::string example = Example(request.holes, request.colours);
	if (!given) {
		if (GameBoard(request)) {
			// TRANSLATORS: kalvex-solve's error when it is given no argument.
			// 31415 is an example secret (five digits 0 to 8); --all and
			// --help are options and stay as they are, here and below.
			return Failure(B_TRANSLATE("no secret given: give five digits 0 to "
									   "8, like 31415, or --all (see --help)"));
		}
		return Failure(format_text(
			// TRANSLATORS: kalvex-solve's error when it is given no argument
			// on a board of another size: the number of digits, the highest
			// digit, an example secret.
			B_TRANSLATE("no secret given: give %d digits 0 to %d, like %s, or "
						"--all (see --help)"),
			request.holes, request.colours - 1, example.c_str()));
	}
	if (!all
		&& !ParseCode(secret, request.holes, request.colours, request.secret)) {
		if (GameBoard(request)) {
			return Failure(format_text(
				// TRANSLATORS: kalvex-solve's error for an argument that is
				// not five digits 0 to 8; %s is the argument.
				B_TRANSLATE("'%s' is not a secret: give five digits 0 to 8, "
							"like 31415"),
				secret.c_str()));
		}
		return Failure(format_text(
			B_TRANSLATE(
				// TRANSLATORS: kalvex-solve's error for an argument that is
				// not a secret of the board: the argument, the number of
				// digits, the highest digit, an example secret.
				"'%s' is not a secret: give %d digits 0 to %d, like %s"),
			secret.c_str(), request.holes, request.colours - 1,
			example.c_str()));
	}
	if (firstGiven
		&& !ParseCode(first, request.holes, request.colours, request.first)) {
		return Failure(format_text(
			// TRANSLATORS: kalvex-solve's error for an opening guess that is
			// not a code of the board: the code given, the number of digits,
			// the highest digit, an example code.
			B_TRANSLATE("'%s' is not a code for --first: give %d digits 0 to "
						"%d, like %s"),
			first.c_str(), request.holes, request.colours - 1,
			example.c_str()));
	}

	int64_t codes = 1;
	for (int i = 0; i < request.holes; i++)
		codes *= request.colours;
	if (RanksGuesses(request.strategy) && codes > kMaxRankedCodes) {
		return Failure(format_text(
			// TRANSLATORS: kalvex-solve's error for a board too big for a
			// strategy: the strategy's name (as it stands), the most codes,
			// the holes, the colours and the codes they make.
			B_TRANSLATE("%s plays boards of at most %s codes, and %d holes of "
						"%d colours make %s: give fewer holes or colours"),
			// Plain digits: a comma between thousands reads as a decimal
			// point in many of the languages the message is shown in.
			StrategyName(request.strategy),
			std::to_string(kMaxRankedCodes).c_str(), request.holes,
			request.colours, std::to_string(codes).c_str()));
	}
	request.mode = all ? SOLVE_ALL : SOLVE_ONE;
	return request;
}
