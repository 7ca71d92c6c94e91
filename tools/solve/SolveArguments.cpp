#include "SolveArguments.h"

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


// "give five digits 0 to 8, like 31415" for the board's size.
static std::string
CodeHint(int holes, int colours)
{
	static const char* kNumbers[] = { "", "", "two", "three", "four", "five",
		"six" };
	static const char* kExample = "314159";
	std::string		   example;
	for (int i = 0; i < holes; i++)
		example += (char)('0' + (kExample[i] - '0') % colours);
	return std::string("give ") + kNumbers[holes] + " digits 0 to "
		+ std::to_string(colours - 1) + ", like " + example;
}


// 100000 as "100,000".
static std::string
Thousands(int64_t number)
{
	const std::string digits = std::to_string(number);
	std::string		  text;
	for (size_t n = 0; n < digits.size(); n++) {
		if (n > 0 && (digits.size() - n) % 3 == 0)
			text += ',';
		text += digits[n];
	}
	return text;
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
				return Failure("unexpected argument '" + argument
					+ "': give one secret or --all");
			}
			secret = argument;
			given = true;
			continue;
		}
		if (argument == "--all") {
			if (given) {
				return Failure("unexpected argument '" + argument
					+ "': give one secret or --all");
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
			return Failure(
				"unknown option '" + argument + "': see kalvex-solve --help");
		}
		if (!hasValue) {
			if (n + 1 >= argc)
				return Failure("option '" + argument + "' needs a value");
			value = argv[++n];
		}
		if (argument == "--strategy") {
			if (!StrategyFromName(value, request.strategy)) {
				return Failure("'" + value
					+ "' is not a strategy: give game, first, knuth, parts,"
					  " size or entropy");
			}
		} else if (argument == "--holes") {
			if (!ParseNumber(value, kMinHoles, kMaxHoles, request.holes)) {
				return Failure("'" + value + "' holes: give --holes from "
					+ std::to_string(kMinHoles) + " to "
					+ std::to_string(kMaxHoles));
			}
		} else if (argument == "--colours") {
			if (!ParseNumber(
					value, kMinColours, kMaxColours, request.colours)) {
				return Failure("'" + value + "' colours: give --colours from "
					+ std::to_string(kMinColours) + " to "
					+ std::to_string(kMaxColours));
			}
		} else {
			first = value;
			firstGiven = true;
		}
	}

	if (!given) {
		return Failure(
			"no secret given: " + CodeHint(request.holes, request.colours)
			+ ", or --all (see --help)");
	}
	if (!all
		&& !ParseCode(secret, request.holes, request.colours, request.secret)) {
		return Failure("'" + secret
			+ "' is not a secret: " + CodeHint(request.holes, request.colours));
	}
	if (firstGiven
		&& !ParseCode(first, request.holes, request.colours, request.first)) {
		return Failure("'" + first + "' is not a code for --first: "
			+ CodeHint(request.holes, request.colours));
	}

	int64_t codes = 1;
	for (int i = 0; i < request.holes; i++)
		codes *= request.colours;
	if (RanksGuesses(request.strategy) && codes > kMaxRankedCodes) {
		return Failure(std::string(StrategyName(request.strategy))
			+ " plays boards of at most " + Thousands(kMaxRankedCodes)
			+ " codes, and " + std::to_string(request.holes) + " holes of "
			+ std::to_string(request.colours) + " colours make "
			+ Thousands(codes) + ": give fewer holes or colours");
	}
	request.mode = all ? SOLVE_ALL : SOLVE_ONE;
	return request;
}
