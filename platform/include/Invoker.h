#ifndef _INVOKER_H
#define _INVOKER_H

#include <SupportDefs.h>

class BHandler;
class BLooper;
class BMessage;

// Something that sends a message of its own to a target when it is used:
// a button when it is clicked, a menu item when it is chosen.
class BInvoker {
public:
	BInvoker();
	// Takes over the message.
	BInvoker(BMessage* message, const BHandler* handler,
		const BLooper* looper = nullptr);
	virtual ~BInvoker();

	// Takes over the message and deletes the one it had.
	virtual status_t SetMessage(BMessage* message);
	BMessage*		 Message() const;
	uint32			 Command() const;

	// The handler gets the message in its own looper; with no handler the
	// looper's own handling takes it. The handler need not be in a looper
	// yet, but must be by the time of Invoke.
	virtual status_t SetTarget(
		const BHandler* handler, const BLooper* looper = nullptr);
	BHandler*		 Target(BLooper** looper = nullptr) const;

	// Posts a copy of the message (or of the invoker's own when none is
	// given) to the target; B_BAD_VALUE when there is no message or no
	// looper to take it.
	virtual status_t Invoke(BMessage* message = nullptr);

private:
	BInvoker(const BInvoker&) = delete;
	BInvoker& operator=(const BInvoker&) = delete;

	BMessage* fMessage;
	BHandler* fHandler;
	BLooper*  fLooper;
};

#endif
