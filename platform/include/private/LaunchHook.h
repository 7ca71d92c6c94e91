#ifndef _KX_LAUNCH_HOOK_H
#define _KX_LAUNCH_HOOK_H

// Lets tests see the programs that BRoster::Launch would start, instead of
// starting them.

#include <SupportDefs.h>

#include <functional>
#include <string>
#include <vector>

namespace BPrivate {

// Gets the command line (program first) of each launch and returns the
// launch's status.
typedef std::function<status_t(const std::vector<std::string>& argv)>
	 LaunchHook;

// An empty hook starts programs for real again.
void SetLaunchHook(LaunchHook hook);

} // namespace BPrivate

#endif
