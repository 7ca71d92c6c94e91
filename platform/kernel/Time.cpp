#include <OS.h>

#include "Clock.h"

status_t
snooze(bigtime_t microseconds)
{
	BPrivate::CurrentClock()->Sleep(microseconds);
	return B_OK;
}

bigtime_t
system_time()
{
	return BPrivate::CurrentClock()->Now();
}
