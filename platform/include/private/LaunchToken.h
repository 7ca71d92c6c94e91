#ifndef _KX_LAUNCH_TOKEN_H
#define _KX_LAUNCH_TOKEN_H

// What a desktop hands a program it starts so that the program's window may
// take the focus: the activation token of a Wayland compositor and the
// startup id of an X11 launcher. Either may be empty. A later start of a
// single-launch application hands its own to the running copy, whose window
// comes forward with it; the running copy's window system uses the one that
// is its own.

#include <string>

namespace BPrivate {

struct LaunchToken {
	std::string activation; // XDG_ACTIVATION_TOKEN
	std::string startupId;	// DESKTOP_STARTUP_ID
};

// The process's own, read from its environment. With forget, the variables
// are removed too: a program the application starts later must not present
// a stale token as its own.
LaunchToken	  LaunchTokenFromEnvironment(bool forget);

// One line of text, its end included, and back. A token that is too long or
// holds anything but visible ASCII is left out: it comes from another
// process and ends up in requests to the window system.
std::string	  LaunchTokenLine(const LaunchToken& token);
LaunchToken	  LaunchTokenFromLine(const std::string& line);

// The longest line LaunchTokenLine makes.
const size_t  kLaunchTokenLineLength = 600;

// The X server time an X11 startup id carries ("..._TIME<time>"), which
// stands for the moment the user asked for the start; 0 when it has none.
unsigned long StartupIdTime(const std::string& startupId);

} // namespace BPrivate

#endif
