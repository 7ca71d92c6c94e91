#include "translation/ImageDecoders.h"

#include <SDL2/SDL.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>
#include <png.h>

namespace BPrivate {

namespace {

// A bitmap of a sane size whose pixels could be had; null otherwise.
BBitmap*
NewBitmap(int64 width, int64 height)
{
	if (!SaneImageSize(width, height))
		return nullptr;
	BBitmap* bitmap = new BBitmap(
		BRect(0, 0, (float)(width - 1), (float)(height - 1)), B_RGB32);
	if (bitmap->InitCheck() != B_OK || bitmap->Bits() == nullptr) {
		delete bitmap;
		return nullptr;
	}
	return bitmap;
}

// The JPEG library reports a fatal error by calling error_exit, which must
// not return: it jumps back into DecodeJPEG.
struct JPEGErrors {
	jpeg_error_mgr manager;
	jmp_buf		   escape;
};

void
JPEGFailed(j_common_ptr info)
{
	longjmp(reinterpret_cast<JPEGErrors*>(info->err)->escape, 1);
}

// Called as the library goes through the data: a picture with more scans
// than any sound one has fails as an error would.
void
JPEGProgressed(j_common_ptr common)
{
	auto* info = reinterpret_cast<j_decompress_ptr>(common);
	if (info->input_scan_number > kMaxJPEGScans)
		common->err->error_exit(common);
}

// Warnings about damaged data would go to standard error at every start;
// what matters is whether a picture came out.
void
JPEGQuiet(j_common_ptr)
{ }

} // namespace


bool
SaneImageSize(int64 width, int64 height)
{
	return width > 0 && height > 0 && width <= kMaxImageSide
		&& height <= kMaxImageSide && width * height <= kMaxImagePixels;
}


BBitmap*
DecodeBMP(const uint8* data, size_t length)
{
	SDL_RWops* stream = SDL_RWFromConstMem(data, (int)length);
	if (stream == nullptr)
		return nullptr;
	SDL_Surface* decoded = SDL_LoadBMP_RW(stream, 1);
	if (decoded == nullptr)
		return nullptr;
	// Palettes and the other depths come out as 32-bit pixels whose bytes
	// lie blue, green, red, alpha in memory, as B_RGB32 has them.
	SDL_Surface* converted = nullptr;
	if (SaneImageSize(decoded->w, decoded->h))
		converted =
			SDL_ConvertSurfaceFormat(decoded, SDL_PIXELFORMAT_ARGB8888, 0);
	SDL_FreeSurface(decoded);
	if (converted == nullptr)
		return nullptr;
	BBitmap* bitmap = NewBitmap(converted->w, converted->h);
	if (bitmap != nullptr && SDL_LockSurface(converted) == 0) {
		uint8* bits = (uint8*)bitmap->Bits();
		for (int y = 0; y < converted->h; y++) {
			memcpy(bits + (size_t)y * bitmap->BytesPerRow(),
				(const uint8*)converted->pixels + (size_t)y * converted->pitch,
				(size_t)converted->w * 4);
		}
		SDL_UnlockSurface(converted);
	} else {
		delete bitmap;
		bitmap = nullptr;
	}
	SDL_FreeSurface(converted);
	return bitmap;
}


BBitmap*
DecodePNG(const uint8* data, size_t length)
{
	png_image image;
	memset(&image, 0, sizeof(image));
	image.version = PNG_IMAGE_VERSION;
	if (!png_image_begin_read_from_memory(&image, data, length))
		return nullptr;
	BBitmap* bitmap = NewBitmap(image.width, image.height);
	if (bitmap == nullptr) {
		png_image_free(&image);
		return nullptr;
	}
	// Any depth, palette or transparency comes out as blue, green, red and
	// alpha bytes; the row stride counts bytes for 8-bit formats.
	image.format = PNG_FORMAT_BGRA;
	if (!png_image_finish_read(
			&image, nullptr, bitmap->Bits(), bitmap->BytesPerRow(), nullptr)) {
		delete bitmap;
		return nullptr;
	}
	return bitmap;
}


BBitmap*
DecodeJPEG(const uint8* data, size_t length)
{
	jpeg_decompress_struct info;
	JPEGErrors			   errors;
	jpeg_progress_mgr	   progress = {};
	progress.progress_monitor = JPEGProgressed;
	// Kept in memory across the jump back from an error.
	BBitmap* volatile bitmap = nullptr;
	info.err = jpeg_std_error(&errors.manager);
	errors.manager.error_exit = JPEGFailed;
	errors.manager.output_message = JPEGQuiet;
	if (setjmp(errors.escape) != 0) {
		jpeg_destroy_decompress(&info);
		delete bitmap;
		return nullptr;
	}
	jpeg_create_decompress(&info);
	info.progress = &progress;
	jpeg_mem_src(&info, data, (unsigned long)length);
	if (jpeg_read_header(&info, TRUE) != JPEG_HEADER_OK) {
		jpeg_destroy_decompress(&info);
		return nullptr;
	}
	// Grey, YCbCr and RGB pictures convert to blue, green, red and opaque
	// alpha bytes; the library refuses CMYK, which ends here as an error.
	info.out_color_space = JCS_EXT_BGRA;
	bitmap = NewBitmap(info.image_width, info.image_height);
	if (bitmap == nullptr) {
		jpeg_destroy_decompress(&info);
		return nullptr;
	}
	jpeg_start_decompress(&info);
	uint8* bits = (uint8*)bitmap->Bits();
	// Data cut short reads as grey to the end, as the library fills it in.
	while (info.output_scanline < info.output_height) {
		JSAMPROW row =
			bits + (size_t)info.output_scanline * bitmap->BytesPerRow();
		if (jpeg_read_scanlines(&info, &row, 1) != 1)
			longjmp(errors.escape, 1);
	}
	jpeg_finish_decompress(&info);
	jpeg_destroy_decompress(&info);
	return bitmap;
}

} // namespace BPrivate
