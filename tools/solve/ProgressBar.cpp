#include "ProgressBar.h"

#include <cstdio>


// Shorter work shows no bar at all.
static const double kQuietSeconds = 1.0;
static const int	kBarWidth = 30;


ProgressBar::ProgressBar(std::ostream& out, bool terminal) :
	fOut(out),
	fTerminal(terminal),
	fStart(std::chrono::steady_clock::now())
{ }


void
ProgressBar::Solved(int64_t done, int64_t total)
{
	Show(done, total,
		std::chrono::duration<double>(std::chrono::steady_clock::now() - fStart)
			.count());
}


void
ProgressBar::Show(int64_t done, int64_t total, double seconds)
{
	if (!fTerminal || seconds < kQuietSeconds || done >= total)
		return;
	fOut << '\r' << Line(done, total, seconds, kBarWidth) << std::flush;
	fDrawn = true;
}


void
ProgressBar::Finish()
{
	if (fDrawn)
		fOut << "\r\033[K" << std::flush;
	fDrawn = false;
}


std::string
ProgressBar::Line(int64_t done, int64_t total, double seconds, int width)
{
	const double part = total > 0 ? (double)done / total : 0;
	std::string	 line = "[";
	for (int n = 0; n < width; n++)
		line += n < (int)(part * width) ? '#' : '.';
	line += "]";

	char text[64];
	if (done == 0) {
		snprintf(text, sizeof(text), " %3d%%", 0);
	} else {
		// The secrets solved so far tell the pace.
		const int left = (int)(seconds * (1 - part) / part + 0.5);
		snprintf(text, sizeof(text), " %3d%%  %d:%02d left", (int)(part * 100),
			left / 60, left % 60);
	}
	return line + text;
}
