#ifndef _ROSTER_H
#define _ROSTER_H

#include <OS.h>

// Launch flags of an application's "BEOS:APP_FLAGS" resource.
enum {
	B_SINGLE_LAUNCH = 0x0, // one copy per executable file
	B_MULTIPLE_LAUNCH = 0x1,
	B_EXCLUSIVE_LAUNCH = 0x2, // one copy per signature
	B_LAUNCH_MASK = 0x3,
};

// Knows the applications of the desktop and starts them by signature.
class BRoster {
public:
	BRoster();
	~BRoster();

	// Starts the application with the signature, handing it the arguments,
	// and returns without waiting for it. Only the web browser
	// ("application/x-vnd.Be-NPOS") is known: it opens its arguments in the
	// desktop's default browser. B_OK once the application is started (its
	// process id in team); B_ENTRY_NOT_FOUND for an unknown signature or a
	// desktop without the program that opens addresses; B_BAD_VALUE for a
	// missing signature or argument; B_ERROR when it could not be started.
	status_t Launch(const char* mimeType, int argc, char** args,
		team_id* team = nullptr) const;
};

extern const BRoster* be_roster;

#endif
