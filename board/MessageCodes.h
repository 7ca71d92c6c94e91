#ifndef MESSAGE_CODES_H
#define MESSAGE_CODES_H

// The what codes of the program's own messages: plain small numbers, not
// four-character codes.
enum {
	MSG_DROP = 0,
	// a peg dragged from the palette; int32 "Kalvex:color" its colour
	MSG_GIVE_UP = 1,
	MSG_NEW_GAME = 2,
	MSG_QUIT = 3,
	MSG_CPU_PLAY = 4,
	MSG_ABOUT = 5,
	MSG_ABOUT_OK = 6,
	MSG_WEB_PAGE = 7
};

#endif // MESSAGE_CODES_H
