#ifndef PROGRESS_BAR_H
#define PROGRESS_BAR_H

#include <chrono>
#include <ostream>
#include <string>

#include "StrategyLab.h"


// A bar with the time left, redrawn on one line of a terminal while the lab
// solves. Work that ends within a second shows nothing, and neither does
// any work when the stream is not a terminal.
class ProgressBar : public LabProgress {
public:
	ProgressBar(std::ostream& out, bool terminal);

	void			   Solved(int64_t done, int64_t total) override;
	// Draws the bar as of seconds after the start.
	void			   Show(int64_t done, int64_t total, double seconds);
	// Clears the bar's line, if it was drawn.
	void			   Finish();

	// "[#####...............]  25%  0:03 left", width characters of bar.
	static std::string Line(
		int64_t done, int64_t total, double seconds, int width);

private:
	std::ostream&						  fOut;
	bool								  fTerminal;
	bool								  fDrawn = false;
	std::chrono::steady_clock::time_point fStart;
};

#endif // PROGRESS_BAR_H
