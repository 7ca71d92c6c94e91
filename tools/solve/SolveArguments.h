#ifndef SOLVE_ARGUMENTS_H
#define SOLVE_ARGUMENTS_H

#include <string>

#include "Sequence.h"


enum SolveMode {
	SOLVE_HELP,
	SOLVE_ONE,	// play the game against secret
	SOLVE_ALL,	// the table over all secrets
	SOLVE_ERROR // error holds the one-line message
};


struct SolveRequest {
	SolveMode	mode;
	Sequence	secret;
	std::string error;
};


// Reads the command line of kalvex-solve: exactly one argument, a secret of
// five digits 0 to 8, --all, or --help (-h).
SolveRequest ParseSolveArguments(int argc, const char* const argv[]);

// Reads a secret written as five digits 0 to 8, hole 0 first ("31415").
bool		 ParseSecret(const std::string& text, Sequence& secret);

// The code as five digits, hole 0 first.
std::string	 SequenceText(const Sequence& code);

#endif // SOLVE_ARGUMENTS_H
