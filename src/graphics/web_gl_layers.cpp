// The browser's GL layer emulates the fixed pipeline over OpenGL ES 2, which
// has no 3D textures: no pages, every frame keeps a texture of its own.
#include "graphics/gl_layers.h"

namespace vesk {

int LargestLayeredTextureSize() { return 0; }
void AllocateLayeredTexture(int, int, int) {}
void FillTextureLayer(const TPixmap&, int) {}
void BindLayeredTexture(uint32_t) {}
void EnableLayeredTexturing(bool) {}

}  // namespace vesk
