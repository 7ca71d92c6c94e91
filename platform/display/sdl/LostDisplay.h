#ifndef _KX_LOST_DISPLAY_H
#define _KX_LOST_DISPLAY_H

// The end of the game when its window system goes away: one line on standard
// error and status 1. The line is made up front, while the display opens,
// because it is written from places that must neither allocate nor return
// (an Xlib error handler in the middle of an X call, for one).

namespace BPrivate {

enum lost_display_kind {
	LOST_X11_DISPLAY,
	LOST_WAYLAND_COMPOSITOR
};

// name: the display or compositor as the environment names it.
void PrepareLostDisplayLine(lost_display_kind kind, const char* name);

// Writes the line and ends the process: nothing of the game can be shown or
// saved any more, and the other threads may hold any lock, so nothing is
// cleaned up on the way out.
[[noreturn]] void EndForLostDisplay();

} // namespace BPrivate

#endif
