// Pixel transfers on a desktop OpenGL 1.1.
#include "graphics/gl_pixels.h"

#include <GL/gl.h>

namespace vesk {

bool TextureSizeFits(int width, int height) {
    glTexImage2D(GL_PROXY_TEXTURE_2D, 0, 4, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    GLint accepted = 0;
    glGetTexLevelParameteriv(GL_PROXY_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &accepted);
    return accepted != 0;
}

void AllocateTextureLevel(int level, int width, int height, const void* fill) {
    glTexImage2D(GL_TEXTURE_2D, level, GL_RGBA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, fill);
}

void UploadTextureLevel(const TPixmap& pixels, int level) {
    glPixelStorei(GL_UNPACK_ROW_LENGTH, pixels.pitch / BytesPerPixel[FormatRGBA8888]);
    glTexSubImage2D(GL_TEXTURE_2D, level, 0, 0, pixels.width, pixels.height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void DrawPixelRows(TGLRenderDriver&, const TPixmap& rows, float x, float y) {
    // The raster position must be valid to draw at all. (0, 0) always is;
    // a zero-size bitmap then moves it anywhere, also off the window's
    // top or left, where glRasterPos would have made it invalid.
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0, 0, x, -static_cast<float>(rows.height) - y, nullptr);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rows.pitch / 4);
    glDrawPixels(rows.width, rows.height, GL_RGBA, GL_UNSIGNED_BYTE, rows.pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

void ReadPixelRows(int x, int y, TPixmap& into) {
    glPixelStorei(GL_PACK_ROW_LENGTH, into.pitch / 4);
    glReadPixels(x, y, into.width, into.height, GL_RGBA, GL_UNSIGNED_BYTE, into.pixels);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
}

}  // namespace vesk
