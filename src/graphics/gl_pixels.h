// The OpenGL driver's pixel transfers: probing a texture size, allocating and
// filling texture levels, drawing rows of pixels straight into the back
// buffer and reading them back. A desktop GL does each with its own calls
// (proxy textures, row lengths, raster position and pixel drawing); the
// browser's GL has none of those, so its back end does them another way.
#pragma once

#include <vesk/pixmap/pixmap.h>

namespace vesk {

class TGLRenderDriver;

// Whether the GL can hold an RGBA texture of that size.
bool TextureSizeFits(int width, int height);
// Allocates level `level` of the bound texture, filled from `fill` (tightly
// packed RGBA) or undefined when it is null.
void AllocateTextureLevel(int level, int width, int height, const void* fill);
// Fills the bound texture's level `level` from (0, 0) with an FormatRGBA8888
// pixmap, whose rows may be padded or a window into a wider pixmap.
void UploadTextureLevel(const TPixmap& pixels, int level);
// Draws an FormatRGBA8888 pixmap, bottom row first, with its lower-left
// corner at window position (x, y + height) in the driver's top-down
// coordinates: no matrix, no colour tint, but blending, alpha test and
// scissor as set. Pending draws are flushed and texturing is off.
void DrawPixelRows(TGLRenderDriver& driver, const TPixmap& rows, float x, float y);
// Reads the rectangle at GL window position (x, y) into an FormatRGBA8888
// pixmap of its size, bottom row first; parts outside the window stay as
// they were.
void ReadPixelRows(int x, int y, TPixmap& into);

}  // namespace vesk
