#ifndef SEQUENCE_H
#define SEQUENCE_H

#include <cstdint>

const int32_t kSequenceLength = 5;
// Every code of five pegs from nine colours: 9^5.
const int32_t kSequenceCount = 59049;


// A code of five pegs; position i is hole i of a board row. Each value is a
// PegColor from 0 to 8. Nothing here checks the range: values come from the
// palette, the random secret or the counter, which all stay within it.
class Sequence {
public:
	Sequence();
	// leaves the values unset; assign
	// before reading
	Sequence(int c0, int c1, int c2, int c3, int c4);
	Sequence(const Sequence& other) = default;
	Sequence& operator=(const Sequence& other) = default;

	void	  Set(int c0, int c1, int c2, int c3, int c4);

	bool	  operator==(const Sequence& other) const;
	bool	  operator!=(const Sequence& other) const;

	// Scores the two codes against each other: exact counts the
	// holes where both hold the same colour, color the further pegs
	// whose colour the other code has in another hole, every peg
	// taking part in one match at most. The score is symmetric.
	void	  Check(const Sequence& other, int& exact, int& color) const;

	// True when Check would give this exact count.
	bool	  TestA(const Sequence& other, int exact) const;
	// True when Check would give this colour count.
	bool	  TestB(const Sequence& other, int color) const;
	// True when this code would have received the score
	// (exact, color) had other been the secret. The colour test,
	// the costlier one, runs only when the exact count agrees.
	bool	  Compatible(const Sequence& other, int exact, int color) const;

	// Steps to the next code, reading the values as a base-9 number
	// whose lowest digit is position 0; (8,8,8,8,8) wraps to
	// (0,0,0,0,0). Returns the code as it was before the step.
	Sequence  operator++(int);

	int32_t	  colors[kSequenceLength];
};

#endif // SEQUENCE_H
