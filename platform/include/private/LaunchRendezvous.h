#ifndef _KX_LAUNCH_RENDEZVOUS_H
#define _KX_LAUNCH_RENDEZVOUS_H

// Keeps a second copy of a single-launch application from starting: the
// first copy listens on a per-user socket in the abstract namespace (it
// vanishes with the process, so a crash leaves nothing behind); a later copy
// that finds it asks the first to come to the front and then gives up.

#include <SupportDefs.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace BPrivate {

enum launch_claim {
    LAUNCH_CLAIMED,         // this process is the first; it now listens
    LAUNCH_ALREADY_RUNNING, // another copy runs and was asked to come forward
    LAUNCH_CLAIM_FAILED     // no socket could be had; run without the check
};

// The launch flags in the executable's resource block; B_MULTIPLE_LAUNCH
// when it has none or they cannot be read.
uint32 LaunchFlagsOf(const char* executable);

// The rendezvous name for the user: by signature alone for an exclusive
// launch, by signature and executable for a single launch.
std::string LaunchRendezvousName(const char* signature, const char* executable,
    uint32 launchFlags);

class LaunchRendezvous {
public:
                            LaunchRendezvous();
                            // Stops listening; no call of the hook is under
                            // way or follows once it returns.
                            ~LaunchRendezvous();

    // `relaunched` runs on the listening thread each time a later copy of
    // the same user asks.
            launch_claim    Claim(const std::string& name,
                                std::function<void()> relaunched);

private:
            bool            _Listen(const std::string& name);
            launch_claim    _AskRunning(const std::string& name);
            void            _Serve();

            int             fSocket;
            int             fWakeFds[2];
            std::function<void()> fRelaunched;
            std::thread     fThread;
};

}   // namespace BPrivate

#endif
