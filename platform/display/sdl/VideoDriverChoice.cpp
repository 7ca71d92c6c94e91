#include "display/sdl/VideoDriverChoice.h"

#include <cstdlib>

namespace BPrivate {

namespace {

bool
HasValue(const char* variable)
{
	const char* value = getenv(variable);
	return value != nullptr && value[0] != '\0';
}

} // namespace

video_driver
ChooseVideoDriver(const DesktopOffer& offer)
{
	if (offer.driverNamed)
		return VIDEO_DRIVER_USERS;
	bool native = offer.wayland && offer.compositorAnswers;
	// A window is never shown without a frame while X11 can give it one.
	if (native && (offer.compositorFrames || !offer.x11))
		return VIDEO_DRIVER_WAYLAND;
	if (offer.x11)
		return VIDEO_DRIVER_X11;
	return VIDEO_DRIVER_NONE;
}

DesktopOffer
ReadDesktopOffer()
{
	DesktopOffer offer = { HasValue("SDL_VIDEODRIVER"), HasValue("DISPLAY"),
		HasValue("WAYLAND_DISPLAY"), false, false };
	if (!offer.driverNamed && offer.wayland)
		ProbeCompositor(&offer.compositorAnswers, &offer.compositorFrames);
	return offer;
}

} // namespace BPrivate
