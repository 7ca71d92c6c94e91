#ifndef _FIND_DIRECTORY_H
#define _FIND_DIRECTORY_H

#include <SupportDefs.h>

#include <sys/types.h>

typedef enum {
	// The folder that an installation of the application keeps its data
	// files in (pictures, manual), found from where the running executable
	// lies, so that any installation prefix works. It need not exist.
	B_APP_DATA_DIRECTORY = 2000,
} directory_which;

// Writes the folder's absolute path to `path`. B_BAD_VALUE for an unknown
// folder, no buffer or one too short, B_ERROR when the executable's
// location cannot be found. `volume` and `createIt` are
// accepted for compatibility and ignored.
status_t find_directory(directory_which which, dev_t volume, bool createIt,
	char* path, int32 length);

#endif
