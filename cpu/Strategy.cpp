#include "Strategy.h"

#include <cstdint>
#include <cstring>

#include "PegColor.h"


namespace {

// A score (exact, color) as one small number: exact and color are 0 to 5.
const int kScoreBase = kSequenceLength + 1;
const int kScoreKeyCount = kScoreBase * kScoreBase;


int
ScoreKey(int exact, int color)
{
	return exact * kScoreBase + color;
}


// Splits the candidates codes[0 .. count - 1], in the player's order, by the
// score each gives the front code, and goes on in each part one row further.
// Stable counting sort, so that every part keeps the order that the player's
// filtered list would have. scratch and keys are work space of count entries
// that the parts reuse for their own ranges.
void
SplitCandidates(Sequence* codes, Sequence* scratch, uint8_t* keys,
	int32_t count, int32_t depth, std::vector<int32_t>& rows)
{
	const Sequence guess = codes[0];
	int32_t		   sizes[kScoreKeyCount] = {};

	for (int32_t i = 0; i < count; i++) {
		int exact;
		int color;
		codes[i].Check(guess, exact, color);
		keys[i] = (uint8_t)ScoreKey(exact, color);
		sizes[keys[i]]++;
	}

	int32_t starts[kScoreKeyCount];
	int32_t next[kScoreKeyCount];
	int32_t start = 0;
	for (int key = 0; key < kScoreKeyCount; key++) {
		starts[key] = start;
		next[key] = start;
		start += sizes[key];
	}

	for (int32_t i = 0; i < count; i++)
		scratch[next[keys[i]]++] = codes[i];
	memcpy(codes, scratch, count * sizeof(Sequence));

	const int win = ScoreKey(kSequenceLength, 0);
	for (int key = 0; key < kScoreKeyCount; key++) {
		if (sizes[key] == 0)
			continue;
		if (key == win) {
			rows[SequenceValue(guess)] = depth;
			continue;
		}
		SplitCandidates(codes + starts[key], scratch + starts[key],
			keys + starts[key], sizes[key], depth + 1, rows);
	}
}

} // namespace


Sequence
FirstGuess()
{
	return Sequence(PEG_RED, PEG_YELLOW, PEG_BLUE, PEG_GREEN, PEG_PURPLE);
}


void
BuildCandidates(
	const Sequence& first, int exact, int color, std::list<Sequence>& out)
{
	Sequence candidate(first);
	do {
		if (candidate.Compatible(first, exact, color))
			out.push_back(candidate);
		candidate++;
	} while (candidate != first);
}


void
FilterCandidates(
	std::list<Sequence>& list, const Sequence& guess, int exact, int color)
{
	std::list<Sequence>::iterator entry = list.begin();
	while (entry != list.end()) {
		if (entry->Compatible(guess, exact, color))
			++entry;
		else
			entry = list.erase(entry);
	}
}


std::vector<SolveStep>
SolveSecret(const Sequence& secret)
{
	std::vector<SolveStep> steps;
	std::list<Sequence>	   candidates;
	Sequence			   guess = FirstGuess();

	for (int32_t row = kStrategyFirstRow; row >= 0; row--) {
		if (row < kStrategyFirstRow) {
			// Cannot run dry while the secret stays put, but never take a
			// guess from an empty list.
			if (candidates.empty())
				break;
			guess = candidates.front();
		}

		int exact;
		int color;
		secret.Check(guess, exact, color);
		steps.push_back(SolveStep { row, guess, exact, color });
		if (exact == kSequenceLength)
			break;

		if (row == kStrategyFirstRow)
			BuildCandidates(guess, exact, color, candidates);
		else
			FilterCandidates(candidates, guess, exact, color);
	}
	return steps;
}


void
SolveAllSecrets(std::vector<int32_t>& rows)
{
	rows.assign(kSequenceCount, 0);

	std::vector<Sequence> codes;
	codes.reserve(kSequenceCount);
	Sequence code = FirstGuess();
	for (int32_t i = 0; i < kSequenceCount; i++)
		codes.push_back(code++);

	std::vector<Sequence> scratch(kSequenceCount);
	std::vector<uint8_t>  keys(kSequenceCount);
	SplitCandidates(
		codes.data(), scratch.data(), keys.data(), kSequenceCount, 1, rows);
}


int32_t
SequenceValue(const Sequence& code)
{
	int32_t value = 0;
	for (int i = kSequenceLength - 1; i >= 0; i--)
		value = value * kPegColorCount + code.colors[i];
	return value;
}


Sequence
SequenceFromValue(int32_t value)
{
	Sequence code;
	for (int i = 0; i < kSequenceLength; i++) {
		code.colors[i] = value % kPegColorCount;
		value /= kPegColorCount;
	}
	return code;
}
