#include "display/DisplayBackend.h"

#include <atomic>

namespace BPrivate {

DisplayBackend* CreateSDLDisplay();

InputSink::~InputSink() = default;

DisplayBackend::~DisplayBackend() = default;

static std::atomic<DisplayBackend*> sDisplay { nullptr };

DisplayBackend*
Display()
{
	DisplayBackend* display = sDisplay.load();
	if (display == nullptr) {
		DisplayBackend* created = CreateSDLDisplay();
		if (sDisplay.compare_exchange_strong(display, created))
			display = created;
		else
			delete created;
	}
	return display;
}

void
SetDisplay(DisplayBackend* backend)
{
	sDisplay.store(backend);
}

} // namespace BPrivate
