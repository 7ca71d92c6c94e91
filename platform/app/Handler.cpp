#include <Handler.h>
#include <Looper.h>

BHandler::BHandler(const char* name) :
	fName(name != nullptr ? name : ""),
	fLooper(nullptr),
	fNextHandler(nullptr)
{ }

BHandler::~BHandler() = default;

void
BHandler::MessageReceived(BMessage* message)
{
	if (fNextHandler != nullptr && fNextHandler != this)
		fNextHandler->MessageReceived(message);
}

BLooper*
BHandler::Looper() const
{
	return fLooper;
}

const char*
BHandler::Name() const
{
	return fName.c_str();
}

void
BHandler::SetName(const char* name)
{
	fName = name != nullptr ? name : "";
}

BHandler*
BHandler::NextHandler() const
{
	return fNextHandler;
}

void
BHandler::SetNextHandler(BHandler* handler)
{
	fNextHandler = handler;
}
