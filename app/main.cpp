#include "Kalvex.h"

#include <cstdio>


int
main()
{
	Kalvex* application = new Kalvex();
	if (application->InitCheck() != B_OK) {
		fprintf(stderr, "kalvex: no display could be opened; run it on a desktop "
			"(is DISPLAY or WAYLAND_DISPLAY set?)\n");
		return 1;
	}
	application->Run();
	delete application;
	return 0;
}
