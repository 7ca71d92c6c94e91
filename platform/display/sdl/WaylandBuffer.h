#ifndef _KX_WAYLAND_BUFFER_H
#define _KX_WAYLAND_BUFFER_H

// One frame's pixels in memory shared with the compositor, drawn into
// through an SDL surface. The compositor reads them until it releases the
// buffer; until then they are not drawn into again.

#include <SupportDefs.h>

struct SDL_Surface;
struct wl_buffer;
struct wl_shm;

namespace BPrivate {

class WaylandBuffer {
public:
	// Null when the memory cannot be had.
	static WaylandBuffer* Create(wl_shm* shm, int32 width, int32 height);
	~WaylandBuffer();

	SDL_Surface*
	Surface() const
	{
		return fSurface;
	}
	wl_buffer*
	Buffer() const
	{
		return fBuffer;
	}
	int32
	Width() const
	{
		return fWidth;
	}
	int32
	Height() const
	{
		return fHeight;
	}
	// Handed to the compositor and not released yet.
	bool busy;

private:
	WaylandBuffer();

	wl_buffer*	 fBuffer;
	SDL_Surface* fSurface;
	void*		 fPixels;
	size_t		 fSize;
	int32		 fWidth;
	int32		 fHeight;
};

} // namespace BPrivate

#endif
