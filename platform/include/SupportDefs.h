#ifndef _SUPPORT_DEFS_H
#define _SUPPORT_DEFS_H

#include <cstddef>
#include <cstdint>

typedef int8_t	 int8;
typedef uint8_t	 uint8;
typedef int16_t	 int16;
typedef uint16_t uint16;
typedef int32_t	 int32;
typedef uint32_t uint32;
typedef int64_t	 int64;
typedef uint64_t uint64;

typedef int32	 status_t;
typedef int64	 bigtime_t;
typedef uint32	 type_code;

// Status codes, with the values of the original platform.
enum {
	B_OK = 0,
	B_NO_ERROR = 0,
	B_ERROR = -1,
	B_GENERAL_ERROR_BASE = INT32_MIN,
	B_NO_MEMORY = B_GENERAL_ERROR_BASE + 0,
	B_IO_ERROR = B_GENERAL_ERROR_BASE + 1,
	B_BAD_VALUE = B_GENERAL_ERROR_BASE + 5,
	B_TIMED_OUT = B_GENERAL_ERROR_BASE + 9,
	B_INTERRUPTED = B_GENERAL_ERROR_BASE + 10,
	B_WOULD_BLOCK = B_GENERAL_ERROR_BASE + 11,
	B_BAD_INDEX = B_GENERAL_ERROR_BASE + 13,
	B_BAD_TYPE = B_GENERAL_ERROR_BASE + 14,
	B_NAME_NOT_FOUND = B_GENERAL_ERROR_BASE + 0x6003,
	B_BAD_THREAD_ID = B_GENERAL_ERROR_BASE + 0x1000 + 0x100,
	B_BAD_THREAD_STATE = B_GENERAL_ERROR_BASE + 0x1000 + 0x101,
	B_ENTRY_NOT_FOUND = B_GENERAL_ERROR_BASE + 0x6000 + 3,
	B_BAD_DATA = B_GENERAL_ERROR_BASE + 0x6000 + 0x10,
	B_NOT_ALLOWED = B_GENERAL_ERROR_BASE + 0x7000 + 0xA,
};

// Four-character type codes, as the original compilers build them.
enum {
	B_INT32_TYPE = 'LONG',
	B_STRING_TYPE = 'CSTR',
	B_MESSAGE_TYPE = 'MSGG',
	B_MIME_STRING_TYPE = 'MIMS',
	B_POINT_TYPE = 'BPNT',
};

#endif
