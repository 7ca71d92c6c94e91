#include <Invoker.h>

#include <Handler.h>
#include <Looper.h>
#include <Message.h>

BInvoker::BInvoker() :
	fMessage(nullptr),
	fHandler(nullptr),
	fLooper(nullptr)
{ }

BInvoker::BInvoker(
	BMessage* message, const BHandler* handler, const BLooper* looper) :
	fMessage(message),
	fHandler(nullptr),
	fLooper(nullptr)
{
	SetTarget(handler, looper);
}

BInvoker::~BInvoker()
{
	delete fMessage;
}

status_t
BInvoker::SetMessage(BMessage* message)
{
	if (message != fMessage)
		delete fMessage;
	fMessage = message;
	return B_OK;
}

BMessage*
BInvoker::Message() const
{
	return fMessage;
}

uint32
BInvoker::Command() const
{
	return fMessage != nullptr ? fMessage->what : 0;
}

status_t
BInvoker::SetTarget(const BHandler* handler, const BLooper* looper)
{
	// Targets are stored as the handlers they are; the invoker never
	// changes them itself.
	fHandler = const_cast<BHandler*>(handler);
	fLooper = const_cast<BLooper*>(looper);
	return B_OK;
}

BHandler*
BInvoker::Target(BLooper** looper) const
{
	BLooper* target = fHandler != nullptr ? fHandler->Looper() : fLooper;
	if (looper != nullptr)
		*looper = target;
	return fHandler != nullptr ? fHandler : fLooper;
}

status_t
BInvoker::Invoke(BMessage* message)
{
	if (message == nullptr)
		message = fMessage;
	BLooper* looper;
	Target(&looper);
	if (message == nullptr || looper == nullptr)
		return B_BAD_VALUE;
	return looper->PostMessage(message, fHandler);
}
