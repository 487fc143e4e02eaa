// Pixel transfers on the browser's GL, an OpenGL ES 2 underneath the legacy
// GL layer of the web toolchain. It has no proxy textures, no row lengths for
// packing or unpacking, no raster position and no pixel drawing; an internal
// format must name the same layout as the data.
#include "graphics/gl_pixels.h"

#include "graphics/gl_driver.h"
#include "graphics/gl_texture.h"
#include "graphics/gl_texture_frame.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace vesk {
namespace {

int LargestTextureSize() {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    return largest;
}

// The rows of a pixmap without padding, as this GL reads and writes them.
std::vector<uint8_t> PackedRows(const TPixmap& pixels) {
    const size_t rowBytes = static_cast<size_t>(pixels.width) * 4;
    std::vector<uint8_t> packed(rowBytes * static_cast<size_t>(pixels.height));
    for (int row = 0; row < pixels.height; ++row)
        std::memcpy(packed.data() + rowBytes * row, static_cast<const uint8_t*>(pixels.pixels) + static_cast<size_t>(pixels.pitch) * row,
                    rowBytes);
    return packed;
}

}  // namespace

bool TextureSizeFits(int width, int height) {
    const int largest = LargestTextureSize();
    return width > 0 && height > 0 && width <= largest && height <= largest;
}

void AllocateTextureLevel(int level, int width, int height, const void* fill) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, fill);
}

void UploadTextureLevel(const TPixmap& pixels, int level) {
    if (pixels.width <= 0 || pixels.height <= 0) return;
    const void* data = pixels.pixels;
    std::vector<uint8_t> packed;
    if (pixels.pitch != pixels.width * 4) {
        packed = PackedRows(pixels);
        data = packed.data();
    }
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, pixels.width, pixels.height, GL_RGBA, GL_UNSIGNED_BYTE, data);
}

// Pixel drawing becomes textured quads in untinted white, one per tile of at
// most the largest texture, each texel on one window pixel (nearest sampling).
void DrawPixelRows(TGLRenderDriver& driver, const TPixmap& rows, float x, float y) {
    const int tile = std::max(1, LargestTextureSize());
    // Row 0 of `rows` is the bottom one, drawn at window y + height - 1.
    const float bottom = y + static_cast<float>(rows.height);
    for (int tileY = 0; tileY < rows.height; tileY += tile) {
        for (int tileX = 0; tileX < rows.width; tileX += tile) {
            const int width = std::min(tile, rows.width - tileX);
            const int height = std::min(tile, rows.height - tileY);
            TPixmapRef part = rows.SubPixmap(tileX, tileY, width, height);
            // An unfiltered texture made and filled as an image frame's is.
            int textureWidth = 0, textureHeight = 0;
            CalculateTextureSize(width, height, textureWidth, textureHeight);
            const uint32_t texture = CreateTexture(textureWidth, textureHeight, 0);
            UploadPixmap(part, 0);
            driver.EnableTexturing(texture);
            const float u = static_cast<float>(width) / textureWidth, v = static_cast<float>(height) / textureHeight;
            const float left = x + tileX, right = left + width;
            const float low = bottom - tileY, high = low - height;  // texture row 0 at the bottom
            // The GL layer takes a vertex's layout from what the first one was
            // given: every vertex gets colour, texture point and position.
            const auto corner = [](float s, float t, float cx, float cy) {
                glColor4ub(255, 255, 255, 255);
                glTexCoord2f(s, t);
                glVertex2f(cx, cy);
            };
            glBegin(GL_QUADS);
            corner(0, 0, left, low);
            corner(u, 0, right, low);
            corner(u, v, right, high);
            corner(0, v, left, high);
            glEnd();
            driver.DisableTexturing();
            DeleteTexture(texture);
        }
    }
}

void ReadPixelRows(int x, int y, TPixmap& into) {
    if (into.width <= 0 || into.height <= 0) return;
    if (into.pitch == into.width * 4) {
        glReadPixels(x, y, into.width, into.height, GL_RGBA, GL_UNSIGNED_BYTE, into.pixels);
        return;
    }
    std::vector<uint8_t> packed = PackedRows(into);
    glReadPixels(x, y, into.width, into.height, GL_RGBA, GL_UNSIGNED_BYTE, packed.data());
    const size_t rowBytes = static_cast<size_t>(into.width) * 4;
    for (int row = 0; row < into.height; ++row)
        std::memcpy(static_cast<uint8_t*>(into.pixels) + static_cast<size_t>(into.pitch) * row, packed.data() + rowBytes * row, rowBytes);
}

}  // namespace vesk
