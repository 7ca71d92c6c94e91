#ifndef STRATEGY_LAB_H
#define STRATEGY_LAB_H

#include <atomic>
#include <cstdint>
#include <vector>

#include "CodeSpace.h"
#include "GuessRule.h"
#include "GuessSearch.h"


// What to play: the board, the strategy, and the opening guess (-1 lets the
// strategy choose it: the game's strategy opens with colour i in hole i,
// counting the colours round again on boards with more holes than colours).
struct LabSettings {
	int			 holes = 5;
	int			 colours = 9;
	StrategyKind strategy = STRATEGY_GAME;
	int32_t		 first = -1;
	int			 threads = 1;
	// Rank one guess of each class of equivalent guesses (see
	// GuessSymmetry); off only to check that it changes nothing.
	bool		 symmetry = true;
};


// One guess of a game and its score.
struct LabStep {
	int32_t guess;
	int		exact;
	int		color;
};


// Told from time to time how many secrets are solved while SolveAll runs.
class LabProgress {
public:
	virtual ~LabProgress() = default;
	virtual void Solved(int64_t done, int64_t total) = 0;
};


// Plays a strategy against every secret at once: the candidates are split
// by the score each would give the guess, and each part is played on by the
// guess the strategy takes there, so every position is searched once. The
// parts are shared out among threads; what a strategy plays depends only
// on the position, so the result does not depend on them.
class StrategyLab {
public:
	explicit StrategyLab(const LabSettings& settings);

	// rows is resized to the number of codes, and rows[secret] is the
	// number of guesses that find secret, the last included.
	void SolveAll(std::vector<int32_t>& rows, LabProgress* progress = nullptr);
	// One game against secret, until a guess scores all exact marks.
	std::vector<LabStep> Play(int32_t secret);
	// The first guess.
	int32_t				 Opening();

	const LabSettings	 settings;
	const CodeSpace		 space;
	const GuessRule		 rule;

private:
	struct Node;
	struct Shared;

	int32_t Choose(const Node& node, GuessSearch& search) const;
	void	Work(Shared& shared);
	void	Expand(Node& node, GuessSearch& search, Shared& shared);

	int32_t fOpening;
};

#endif // STRATEGY_LAB_H
