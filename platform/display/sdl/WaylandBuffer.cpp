#include "display/sdl/WaylandBuffer.h"

#include <SDL.h>
#include <wayland-client.h>

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace BPrivate {

namespace {

void
Released(void* data, wl_buffer*)
{
	static_cast<WaylandBuffer*>(data)->busy = false;
}

const wl_buffer_listener kBufferListener = { Released };

} // namespace

WaylandBuffer::WaylandBuffer() :
	busy(false),
	fBuffer(nullptr),
	fSurface(nullptr),
	fPixels(MAP_FAILED),
	fSize(0),
	fWidth(0),
	fHeight(0)
{ }

WaylandBuffer*
WaylandBuffer::Create(wl_shm* shm, int32 width, int32 height)
{
	if (shm == nullptr || width <= 0 || height <= 0)
		return nullptr;
	WaylandBuffer* buffer = new WaylandBuffer;
	buffer->fWidth = width;
	buffer->fHeight = height;
	buffer->fSize = (size_t)width * height * 4;
	int fd = memfd_create("kx-frame", MFD_CLOEXEC);
	if (fd >= 0 && ftruncate(fd, (off_t)buffer->fSize) == 0) {
		buffer->fPixels = mmap(
			nullptr, buffer->fSize, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
	}
	if (buffer->fPixels != MAP_FAILED) {
		wl_shm_pool* pool = wl_shm_create_pool(shm, fd, (int32)buffer->fSize);
		buffer->fBuffer = wl_shm_pool_create_buffer(
			pool, 0, width, height, width * 4, WL_SHM_FORMAT_XRGB8888);
		wl_shm_pool_destroy(pool);
		wl_buffer_add_listener(buffer->fBuffer, &kBufferListener, buffer);
		// The same bytes as the application's pixels: blue, green, red and
		// a fourth the compositor does not look at.
		buffer->fSurface = SDL_CreateRGBSurfaceWithFormatFrom(buffer->fPixels,
			width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
	}
	if (fd >= 0)
		close(fd);
	if (buffer->fSurface == nullptr) {
		delete buffer;
		return nullptr;
	}
	return buffer;
}

WaylandBuffer::~WaylandBuffer()
{
	if (fSurface != nullptr)
		SDL_FreeSurface(fSurface);
	if (fBuffer != nullptr)
		wl_buffer_destroy(fBuffer);
	if (fPixels != MAP_FAILED)
		munmap(fPixels, fSize);
}

} // namespace BPrivate
