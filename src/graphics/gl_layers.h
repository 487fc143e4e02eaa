// Layered textures for the OpenGL driver's texture pages: one texture object
// holding many pictures of one size, one picture a layer. A layer is sampled
// with the same two coordinates, the same size and the same edge clamping as
// a texture of its own, so a picture drawn from its layer lands on exactly
// the pixels its own texture would give; the layer itself is picked by a
// third coordinate that is constant over every quad. A desktop GL of 1.2 or
// later has them as 3D textures; where the GL or its headers have none, no
// pages are made and every frame keeps a texture of its own.
#pragma once

#include <vesk/pixmap/pixmap.h>

#include <cstdint>

namespace vesk {

// The largest width, height and layer count a layered texture may have, or
// 0 when this GL has no layered textures.
int LargestLayeredTextureSize();
// Sets up the bound layered texture: `layers` layers of width x height RGBA
// texels, sampled nearest-neighbour and clamped at every edge. Its texels are
// undefined until filled.
void AllocateLayeredTexture(int width, int height, int layers);
// Fills one whole layer of the bound layered texture from an FormatRGBA8888
// pixmap of the layer's size, whose rows may be padded.
void FillTextureLayer(const TPixmap& pixels, int layer);
// Binds a layered texture; 0 unbinds.
void BindLayeredTexture(uint32_t name);
// Switches sampling from layered textures on or off.
void EnableLayeredTexturing(bool on);

}  // namespace vesk
