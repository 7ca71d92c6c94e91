#ifndef _HANDLER_H
#define _HANDLER_H

#include <SupportDefs.h>

#include <string>

class BLooper;
class BMessage;

// Something that messages can be sent to. A message a handler does not
// take passes to its next handler: a view's parent, then its window.
class BHandler {
public:
	explicit BHandler(const char* name = nullptr);
	virtual ~BHandler();

	virtual void MessageReceived(BMessage* message);

	BLooper*	 Looper() const;
	const char*	 Name() const;
	void		 SetName(const char* name);
	BHandler*	 NextHandler() const;
	void		 SetNextHandler(BHandler* handler);

private:
	friend class BLooper;

	std::string fName;
	BLooper*	fLooper;
	BHandler*	fNextHandler;
};

#endif
