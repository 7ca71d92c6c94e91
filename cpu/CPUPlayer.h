#ifndef CPU_PLAYER_H
#define CPU_PLAYER_H

#include <SupportDefs.h>

class KXView;
class Sequence;


// The "CPU Player" thread; data is the board view. Plays the view's game
// until it is won, the rows are used up, or the view clears cpuActive, which
// it looks at only between guesses. Returns 0.
int32 CPUPlayer(void* data);

// Places seq on the view's current row one peg at a time, half a second
// apart, then has the row scored. True when the game is over: the row was
// all exact, or it was the last row. Otherwise currentRow has moved up.
// A row once begun is always finished, whatever the flags say.
bool  DropSequence(Sequence& seq, KXView* view);

#endif // CPU_PLAYER_H
