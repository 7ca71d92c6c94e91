#ifndef _APP_DEFS_H
#define _APP_DEFS_H

#include <SupportDefs.h>

// System message codes, with the values of the original platform.
enum {
	B_QUIT_REQUESTED = '_QRQ',
	B_CLOSE_REQUESTED = '_QRQ',
	B_MOUSE_DOWN = '_MDN',
	B_MOUSE_UP = '_MUP',
	B_MOUSE_MOVED = '_MMV',
	B_KEY_DOWN = '_KYD',
	B_WINDOW_ACTIVATED = '_ACT',
	B_READY_TO_RUN = '_RTR',
	// Another launch of a single-launch application: come to the front.
	B_SILENT_RELAUNCH = 'AREL',
	_UPDATE_ = '_UPD',
};

// The transit argument of BView::MouseMoved.
enum {
	B_ENTERED_VIEW = 0,
	B_INSIDE_VIEW,
	B_EXITED_VIEW,
	B_OUTSIDE_VIEW,
};

#endif
