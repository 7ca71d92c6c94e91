#include "display/sdl/LostDisplay.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace BPrivate {

namespace {

char   sLine[512];
size_t sLength = 0;

} // namespace

void
PrepareLostDisplayLine(lost_display_kind kind, const char* name)
{
	// The words a user reads; kept together here.
	const char* format = kind == LOST_X11_DISPLAY
		? "%s: lost the connection to the X display %s; start the game again "
		  "once the desktop runs\n"
		: "%s: lost the connection to the Wayland compositor %s; start the "
		  "game again once the desktop runs\n";
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
