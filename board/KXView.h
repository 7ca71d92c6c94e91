#ifndef KX_VIEW_H
#define KX_VIEW_H

#include <OS.h>
#include <View.h>

#include <atomic>

#include "PegColor.h"
#include "PegSlot.h"
#include "Sequence.h"

class BBitmap;


const int32 kBoardRowCount = 14;
const int32 kBoardHoleCount = kSequenceLength;
// A game starts on the bottom row and climbs; row 0 is the last chance.
const int32 kBoardFirstRow = kBoardRowCount - 1;


// The board of the main window and the owner of the whole game: the secret,
// the pegs and marks of every row, the row being played, and whether a game
// and the computer player are running. The rules are its methods; they run
// on the window's thread with the window locked. The computer player works
// on the fields directly, under the same lock, so they are public.
class KXView : public BView {
public:
	KXView();
	virtual ~KXView();

	// Starts a new game with a fresh secret on an empty board.
	void			   Ini();
	// Takes a peg of the colour dropped where the pointer is now.
	void			   Drop(int colorIndex);
	// Scores the current row, writes its marks and keeps the counts;
	// true when all five pegs are exact. Requests no redraw.
	bool			   CheckSequence();
	void			   Win();
	// Ends the game and so shows the secret; ignored while the
	// computer plays.
	void			   GiveUp();
	// Stops the computer player and starts a game for the user.
	void			   Restart();
	// Starts the computer player on a fresh game; never stops it.
	void			   ToggleCPU();
	// Stops the computer player, if it runs, and waits for its end.
	void			   Quit();

	// Paints the whole board offscreen and copies the update to the screen.
	virtual void	   Draw(BRect updateRect);
	// A press on the palette starts the drag of a peg.
	virtual void	   MouseDown(BPoint where);
	// Left and Right move a cursor along the current row; 1 to 9 put the
	// peg of that colour, red first, into the hole under it.
	virtual void	   KeyDown(const char* bytes, int32 numBytes);
	void			   RedrawBackground(BView* target);

	// The path of the first board or peg picture that cannot be loaded,
	// or NULL when all of them can; for a check before any window opens.
	// The pictures it decodes are kept for the next view to take over.
	static const char* MissingImage();

	BBitmap*		   boardBitmap;
	BBitmap*		   offscreenBitmap;
	BView*			   offscreenView;
	BBitmap*		   pegBitmaps[kPegColorCount];
	int32			   hints[kBoardRowCount][kBoardHoleCount];
	PegSlot			   pegs[kBoardRowCount][kBoardHoleCount];
	PegSlot			   secretPegs[kBoardHoleCount];
	Sequence		   secret;
	int32			   currentRow;
	int32			   exactCount;
	int32			   colorCount;
	// Shared with the player thread without the window's lock.
	std::atomic<bool>  cpuActive;
	std::atomic<bool>  gameActive;
	thread_id		   cpuThread;

private:
	void  _InitRendering();
	void  _WaitForPlayer();
	// Puts a peg into a hole of the current row, scores the row once
	// it is full and redraws; a hole elsewhere is a miss.
	void  _PlacePeg(int32 row, int32 hole, int colorIndex);
	int32 _NextEmptyHole(int32 hole) const;
	void  _DrawKeyCursor(BView* target);

	// The hole of the current row that the keys put pegs into; it
	// is drawn only once the keys have been used.
	int32 fCursorHole;
	bool  fCursorShown;

	// Set once Quit has begun; guarded by the window's lock.
	bool  fQuitting;
};

#endif // KX_VIEW_H
