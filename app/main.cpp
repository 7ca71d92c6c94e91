#include "Kalvex.h"

#include "KXView.h"

#include <cstdio>
#include <string>

#include "DataFolders.h"


// The pictures are checked before the application exists, so that a broken
// installation says what is wrong instead of opening an empty board.
static bool
ImagesLoad()
{
	const char* missing = KXView::MissingImage();
	if (missing == NULL)
		return true;
	std::string places;
	for (const std::string& folder : DataFolders())
		places += (places.empty() ? "" : " or ") + folder;
	fprintf(stderr,
		"kalvex: cannot load the image \"%s\" from %s: it is missing "
		"or not a readable picture; reinstall the game or start it in the "
		"folder "
		"that holds bmp/\n",
		missing, places.empty() ? "anywhere" : places.c_str());
	return false;
}


int
main()
{
	if (!ImagesLoad())
		return 1;
	// A second copy of the game ends inside this constructor, after it has
	// brought the running copy's window forward.
	Kalvex* application = new Kalvex();
	if (application->InitCheck() != B_OK) {
		fprintf(stderr,
			"kalvex: no display could be opened; run it on a desktop "
			"(is DISPLAY or WAYLAND_DISPLAY set?)\n");
		return 1;
	}
	application->Run();
	delete application;
	return 0;
}
