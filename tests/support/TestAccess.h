#ifndef KX_TEST_ACCESS_H
#define KX_TEST_ACCESS_H

// What tests read of the platform's insides and the game never needs: how
// far a looper has got with its queue, and which menu a bar has open. The
// platform's classes name this class their friend, so none of it is part
// of their public interface or of the game's program.

#include <Looper.h>
#include <MenuBar.h>

#include "interface/MenuTracker.h"

namespace BPrivate {

class TestAccess {
public:
	// True when everything posted to the looper so far has been handled.
	static bool
	IsIdle(const BLooper* looper)
	{
		return looper->fHandled.load() >= looper->fPosted.load();
	}

	// The bar's open menu, or null.
	static BMenu*
	OpenMenu(const BMenuBar* bar)
	{
		return bar->fTracker->OpenMenu();
	}
};

} // namespace BPrivate

#endif // KX_TEST_ACCESS_H
