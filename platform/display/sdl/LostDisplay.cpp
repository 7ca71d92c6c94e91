#include "display/sdl/LostDisplay.h"

#include <Catalog.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace BPrivate {

namespace {

char   sLine[1024];
size_t sLength = 0;

} // namespace

void
PrepareLostDisplayLine(lost_display_kind kind, const char* name)
{
	const char* format = kind == LOST_X11_DISPLAY
		// TRANSLATORS: on standard error when the desktop goes away under
		// the running game; the first %s is the program's name, the second
		// the display's name, such as :0.
		? B_TRANSLATE("%s: lost the connection to the X display %s; "
					  "start the game again once the desktop runs\n")
		// TRANSLATORS: on standard error when the desktop goes away under
		// the running game; the first %s is the program's name, the second
		// the compositor's name, such as wayland-0.
		: B_TRANSLATE("%s: lost the connection to the Wayland compositor %s; "
					  "start the game again once the desktop runs\n");
	int			length = snprintf(sLine, sizeof(sLine), format,
				program_invocation_short_name, name != nullptr ? name : "");
	sLength = length > 0 ? std::min((size_t)length, sizeof(sLine) - 1) : 0;
	if (sLength > 0)
		sLine[sLength - 1] = '\n';
}

void
EndForLostDisplay()
{
	ssize_t written = write(STDERR_FILENO, sLine, sLength);
	(void)written;
	_exit(1);
}

} // namespace BPrivate
