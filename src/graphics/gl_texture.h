// Texture objects for the OpenGL driver's frames: making a texture of a
// power-of-two size and filling it from a pixmap, with the mip chain when
// the frame is filtered.
#pragma once

#include <vesk/pixmap/pixmap.h>

#include <cstdint>

namespace vesk {

// Makes a texture name, binds it and allocates its levels (all of them down
// to 1 x 1 when flags hold IMAGE_FILTERED). Every level is filled from
// `fill` (tightly packed RGBA, read from its start for each level) or left
// undefined when it is null.
uint32_t CreateTexture(int textureWidth, int textureHeight, int flags, const void* fill = nullptr);
// Uploads an FormatRGBA8888 pixmap to the bound texture at (0, 0), with
// every smaller level made by halving it when flags hold IMAGE_FILTERED.
void UploadPixmap(const TPixmapRef& pixmap, int flags);
// Switches a texture between the sampling of a filtered frame (linear, with
// mip levels) and nearest-neighbour; draws pending on it are made first.
void SetTextureSampling(uint32_t name, bool filtered);
// Deletes a texture of the current context.
void DeleteTexture(uint32_t name);

}  // namespace vesk
