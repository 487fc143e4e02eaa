// The OpenGL driver's primitives: one glBegin/glEnd pair each, in window
// pixels with y downwards. Points and lines sit on pixel centres (+0.5) so
// that they light the pixel they name; filled shapes use the plain corners,
// which GL's fill rule already maps onto whole pixels.
#include "graphics/gl_driver.h"

#include "pixmap/pixmap.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace vesk {
// Ellipses get one corner per pixel of radius, at least 12, in multiples of
// 4 so the outline is symmetric about both axes.
int EllipseSegmentCount(float xr, float yr) {
    int n = std::max(static_cast<int>(std::fabs(xr) + std::fabs(yr)), 12);
    return n - n % 4;
}

void TGLRenderDriver::DrawPoint(float x, float y) {
    DisableTexturing();
    glBegin(GL_POINTS);
    glVertex2f(x + 0.5f, y + 0.5f);
    glEnd();
}

void TGLRenderDriver::DrawSegment(float x0, float y0, float x1, float y1, float tx, float ty) {
    DisableTexturing();
    float sx, sy;
    glBegin(GL_LINES);
    Transform(x0, y0, tx, ty, sx, sy);
    glVertex2f(sx + 0.5f, sy + 0.5f);
    Transform(x1, y1, tx, ty, sx, sy);
    glVertex2f(sx + 0.5f, sy + 0.5f);
    glEnd();
}

void TGLRenderDriver::DrawQuad(float x0, float y0, float x1, float y1, float tx, float ty) {
    DisableTexturing();
    const float corners[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    float sx, sy;
    glBegin(GL_QUADS);
    for (const auto& corner : corners) {
        Transform(corner[0], corner[1], tx, ty, sx, sy);
        glVertex2f(sx, sy);
    }
    glEnd();
}

void TGLRenderDriver::DrawEllipse(float x0, float y0, float x1, float y1, float tx, float ty) {
    DisableTexturing();
    const float xr = (x1 - x0) * 0.5f;
    const float yr = (y1 - y0) * 0.5f;
    const float cx = x0 + xr;
    const float cy = y0 + yr;
    const int n = EllipseSegmentCount(xr, yr);
    float sx, sy;
    glBegin(GL_POLYGON);
    for (int i = 0; i < n; ++i) {
        const double theta = i * 360.0 / n * std::numbers::pi / 180.0;
        Transform(cx + xr * static_cast<float>(std::cos(theta)), cy - yr * static_cast<float>(std::sin(theta)), tx, ty, sx, sy);
        glVertex2f(sx, sy);
    }
    glEnd();
}

void TGLRenderDriver::DrawPolygon(const float* points, int count, float ax, float ay, float tx, float ty) {
    // Fewer than three corners, or an x without its y, is not a polygon.
    if (!points || count < 6 || count % 2 != 0) return;
    DisableTexturing();
    float sx, sy;
    glBegin(GL_POLYGON);
    for (int k = 0; k < count; k += 2) {
        Transform(points[k] + ax, points[k + 1] + ay, tx, ty, sx, sy);
        glVertex2f(sx, sy);
    }
    glEnd();
}

void TGLRenderDriver::BlitPixmap(const std::shared_ptr<TPixmap>& pixmap, float x, float y) {
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return;
    DisableTexturing();
    // GL draws pixel rows bottom-up.
    TPixmapRef rows = MirrorPixmapY(pixmap);
    if (rows->format != FormatRGBA8888) rows = rows->Convert(FormatRGBA8888);
    // The raster position must be valid to draw at all. (0, 0) always is;
    // a zero-size bitmap then moves it anywhere, also off the window's
    // top or left, where glRasterPos would have made it invalid.
    glRasterPos2i(0, 0);
    glBitmap(0, 0, 0, 0, x, -static_cast<float>(rows->height) - y, nullptr);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, rows->pitch / 4);
    glDrawPixels(rows->width, rows->height, GL_RGBA, GL_UNSIGNED_BYTE, rows->pixels);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
}

std::shared_ptr<TPixmap> TGLRenderDriver::ReadBackBuffer(int x, int y, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    TPixmapRef pixels = TPixmap::Create(width, height, FormatRGBA8888, 4);
    if (width == 0 || height == 0) return pixels;
    // Parts of the rectangle outside the window are not written by GL.
    std::memset(pixels->pixels, 0, static_cast<size_t>(pixels->pitch) * height);
    glPixelStorei(GL_PACK_ROW_LENGTH, pixels->pitch / 4);
    glReadPixels(x, height_ - height - y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels->pixels);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
    // GL returns the bottom row first; callers want row 0 at the top.
    return MirrorPixmapY(pixels);
}

}  // namespace vesk
