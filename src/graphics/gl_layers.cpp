// Layered textures on a desktop OpenGL: 3D textures, core since 1.2. Headers
// of a GL 1.1 (as some platforms ship) declare none of it; there the driver
// makes no pages.
#include "graphics/gl_layers.h"

#include <GL/gl.h>

#include <cstdlib>

namespace vesk {

#if defined(GL_VERSION_1_2) && defined(GL_TEXTURE_3D)

namespace {

// The context's GL version, e.g. 14 for "1.4 Mesa ...".
int GLVersion() {
    const auto* text = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    if (!text) return 0;
    char* end = nullptr;
    const long major = std::strtol(text, &end, 10);
    const long minor = (end && *end == '.') ? std::strtol(end + 1, nullptr, 10) : 0;
    return static_cast<int>(major * 10 + minor);
}

}  // namespace

int LargestLayeredTextureSize() {
    if (GLVersion() < 12) return 0;
    GLint largest = 0;
    glGetIntegerv(GL_MAX_3D_TEXTURE_SIZE, &largest);
    return largest;
}

void AllocateLayeredTexture(int width, int height, int layers) {
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_WRAP_R, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_3D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage3D(GL_TEXTURE_3D, 0, GL_RGBA8, width, height, layers, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
}

void FillTextureLayer(const TPixmap& pixels, int layer) {
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pixels.pitch / BytesPerPixel[FormatRGBA8888]);
    glTexSubImage3D(GL_TEXTURE_3D, 0, 0, 0, layer, pixels.width, pixels.height, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                    pixels.pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void BindLayeredTexture(uint32_t name) { glBindTexture(GL_TEXTURE_3D, name); }

void EnableLayeredTexturing(bool on) {
    if (on) glEnable(GL_TEXTURE_3D);
    else glDisable(GL_TEXTURE_3D);
}

#else

int LargestLayeredTextureSize() { return 0; }
void AllocateLayeredTexture(int, int, int) {}
void FillTextureLayer(const TPixmap&, int) {}
void BindLayeredTexture(uint32_t) {}
void EnableLayeredTexturing(bool) {}

#endif

}  // namespace vesk
