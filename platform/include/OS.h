#ifndef _OS_H
#define _OS_H

#include <SupportDefs.h>

typedef int32 thread_id;
typedef int32 team_id;
typedef status_t (*thread_func)(void* data);

enum {
	B_IDLE_PRIORITY = 0,
	B_LOWEST_ACTIVE_PRIORITY = 1,
	B_LOW_PRIORITY = 5,
	B_NORMAL_PRIORITY = 10,
	B_DISPLAY_PRIORITY = 15,
	B_URGENT_DISPLAY_PRIORITY = 20,
	B_REAL_TIME_DISPLAY_PRIORITY = 100,
	B_URGENT_PRIORITY = 110,
	B_REAL_TIME_PRIORITY = 120,
};

#define B_OS_NAME_LENGTH 32

// A spawned thread stays suspended until resume_thread().
thread_id spawn_thread(
	thread_func function, const char* name, int32 priority, void* data);
status_t  resume_thread(thread_id thread);
// Blocks until the thread has ended and gives its exit value; returns at
// once with B_BAD_THREAD_ID for an id that names no thread (any more).
status_t  wait_for_thread(thread_id thread, status_t* exitValue);
// The id of the named thread, or of the calling thread when name is null.
thread_id find_thread(const char* name);

// A wait with no time limit.
#define B_INFINITE_TIMEOUT (9223372036854775807LL)

// Time goes through the platform's clock, which tests may replace.
status_t  snooze(bigtime_t microseconds);
bigtime_t system_time();

#endif
