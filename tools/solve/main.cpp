#include <Catalog.h>

#include <iostream>
#include <vector>

#include "SolveArguments.h"
#include "SolveReport.h"
#include "Strategy.h"


int
main(int argc, char** argv)
{
	open_catalog("kalvex");
	const SolveRequest request = ParseSolveArguments(argc, argv);

	switch (request.mode) {
		case SOLVE_HELP:
			PrintSolveHelp(std::cout);
			break;
		case SOLVE_ONE:
			PrintGame(std::cout, SolveSecret(request.secret));
			break;
		case SOLVE_ALL: {
			std::vector<int32_t> rows;
			SolveAllSecrets(rows);
			PrintAllSecrets(std::cout, rows);
			break;
		}
		case SOLVE_ERROR:
			std::cerr << request.error << '\n';
			return 2;
	}
	return 0;
}
