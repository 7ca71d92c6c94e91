#include "Kalvex.h"

#include "KXView.h"

#include <Catalog.h>

#include <cstdio>
#include <cstring>
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
	for (const std::string& folder : DataFolders()) {
		if (places.empty()) {
			places = folder;
			continue;
		}
		// TRANSLATORS: joins the folders that a picture was looked for in,
		// in "cannot load the image ... from %s".
		const char* either = B_TRANSLATE("%s or %s");
		places = format_text(either, places.c_str(), folder.c_str());
	}
	if (places.empty()) {
		// TRANSLATORS: stands for the folders in "cannot load the image ...
		// from %s" when not even the current folder is known.
		places = B_TRANSLATE("anywhere");
	}
	// TRANSLATORS: on standard error when a picture of the board is
	// missing or damaged; the first %s is its file name (keep the quotes
	// around it), the second the folders looked in. bmp/ is the name of
	// a folder and stays as it is.
	const char* format = B_TRANSLATE("cannot load the image \"%s\" from %s: "
									 "it is missing or not a readable picture; "
									 "reinstall the game or start it in the "
									 "folder that holds bmp/");
	fprintf(stderr, "kalvex: %s\n",
		format_text(format, missing, places.c_str()).c_str());
	return false;
}


int
main(int argc, char** argv)
{
	// What a packager or a bug report asks; every other argument is ignored.
	if (argc == 2 && strcmp(argv[1], "--version") == 0) {
		printf("kalvex %s\n", KX_VERSION);
		return 0;
	}
	open_catalog("kalvex");
	if (!ImagesLoad())
		return 1;
	// A second copy of the game ends inside this constructor, after it has
	// brought the running copy's window forward.
	Kalvex* application = new Kalvex();
	if (application->InitCheck() != B_OK) {
		// TRANSLATORS: on standard error when the game is started without
		// a desktop to show its window on. DISPLAY and WAYLAND_DISPLAY are
		// the names of environment variables and stay as they are.
		const char* text = B_TRANSLATE("no display could be opened; run it "
									   "on a desktop (is DISPLAY or "
									   "WAYLAND_DISPLAY set?)");
		fprintf(stderr, "kalvex: %s\n", text);
		delete application;
		return 1;
	}
	application->Run();
	delete application;
	return 0;
}
