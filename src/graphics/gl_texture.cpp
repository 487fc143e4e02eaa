#include "graphics/gl_texture.h"

#include "graphics/gl_driver.h"
#include "graphics/gl_pixels.h"
#include "graphics/gl_texture_frame.h"
#include "graphics/window.h"
#include <vesk/graphics/image_settings.h>
#include <vesk/runtime/failure.h>

#include <GL/gl.h>

// Windows' GL header stops at OpenGL 1.1; clamping to the edge came with 1.2,
// which every driver offers.
#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

namespace vesk {
namespace {

int NextPowerOfTwo(int value) {
    int size = 1;
    while (size < value && size < (1 << 30)) size <<= 1;
    return size;
}

int HalfSize(int size) { return size > 1 ? size / 2 : 1; }

// The GL is asked only about sizes within its largest side: a proxy of a
// vast size can overrun the GL's own arithmetic. Both sides are halved
// together, as a refused probe would have them halved, until the longer one
// fits. Without a context the largest side reads 0 and nothing changes.
void HalveWithinLargestSide(int& textureWidth, int& textureHeight) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    if (largest < 1) return;
    while (textureWidth > largest || textureHeight > largest) {
        textureWidth = HalfSize(textureWidth);
        textureHeight = HalfSize(textureHeight);
    }
}

void SetFilters(bool filtered) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filtered ? GL_LINEAR : GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filtered ? GL_LINEAR_MIPMAP_LINEAR : GL_NEAREST);
}

}  // namespace

void CalculateTextureSize(int width, int height, int& textureWidth, int& textureHeight) {
    textureWidth = NextPowerOfTwo(width);
    textureHeight = NextPowerOfTwo(height);
    HalveWithinLargestSide(textureWidth, textureHeight);
    while (!TextureSizeFits(textureWidth, textureHeight)) {
        if (textureWidth == 1 && textureHeight == 1)
            Fail("Unable to calculate tex size", GLContextLive() ? "the GL refuses even a 1 x 1 texture"
                                                                 : "graphics is not open: images are made after OpenGraphics");
        textureWidth = HalfSize(textureWidth);
        textureHeight = HalfSize(textureHeight);
    }
}

uint32_t CreateTexture(int textureWidth, int textureHeight, int flags, const void* fill) {
    GLuint name = 0;
    glGenTextures(1, &name);
    GLDriver().BindTexture(name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    const bool filtered = (flags & IMAGE_FILTERED) != 0;
    SetFilters(filtered);
    for (int level = 0;; ++level) {
        AllocateTextureLevel(level, textureWidth, textureHeight, fill);
        if (!filtered || (textureWidth == 1 && textureHeight == 1)) break;
        textureWidth = HalfSize(textureWidth);
        textureHeight = HalfSize(textureHeight);
    }
    return name;
}

void UploadPixmap(const TPixmapRef& pixmap, int flags) {
    // Pending draws may sample the texture's old picture.
    GLDriver().Flush();
    TPixmapRef level = pixmap;
    UploadTextureLevel(*level, 0);
    if (flags & IMAGE_FILTERED) {
        for (int index = 1; level->width > 1 || level->height > 1; ++index) {
            level = ScalePixmap(level, HalfSize(level->width), HalfSize(level->height));
            UploadTextureLevel(*level, index);
        }
    }
}

void SetTextureSampling(uint32_t name, bool filtered) {
    GLDriver().Flush();
    GLDriver().BindTexture(name);
    SetFilters(filtered);
}

void DeleteTexture(uint32_t name) {
    GLDriver().Flush();
    GLuint texture = name;
    glDeleteTextures(1, &texture);
    // GL may hand the name out again; the bind cache must not then skip
    // binding the new texture.
    GLDriver().ForgetTexture(name);
}

}  // namespace vesk
