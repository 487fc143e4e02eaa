// The OpenGL driver's primitives, gathered into the batch in window pixels
// with y downwards. Points and lines sit on pixel centres (+0.5) so
// that they light the pixel they name; filled shapes use the plain corners,
// which GL's fill rule already maps onto whole pixels.
#include "graphics/gl_driver.h"

#include "graphics/gl_pixels.h"
#include <vesk/pixmap/pixmap.h>

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace vesk {
// Ellipses get one corner per pixel of radius, at least 12, in multiples of
// 4 so the outline is symmetric about both axes.
int EllipseSegmentCount(float xr, float yr) {
    // Past a few tens of thousands more segments would not show, and an oval
    // of vast or broken size must not mean a vertex array to match.
    constexpr int kMostSegments = 1 << 16;
    const float reach = std::fabs(xr) + std::fabs(yr);
    if (std::isnan(reach)) return 12;
    const int n = reach >= kMostSegments ? kMostSegments : std::max(static_cast<int>(reach), 12);
    return n - n % 4;
}

namespace {

// Vertices gathered before the batch is drawn regardless; keeps one run's
// arrays to about a megabyte.
constexpr size_t kBatchLimit = 1 << 16;

}  // namespace

void TGLRenderDriver::Gather(uint32_t mode, uint32_t texture, size_t vertices, bool layered) {
    if (batch_.Continues(mode, texture) && batch_.Size() + vertices <= kBatchLimit) return;
    Flush();
    if (texture == 0) DisableTexturing();
    else if (layered) EnableLayeredTexturing(texture);
    else EnableTexturing(texture);
    batch_.Start(mode, texture, layered);
}

void TGLRenderDriver::Flush() { batch_.Draw(); }

void TGLRenderDriver::DrawPoint(float x, float y) {
    Gather(GL_POINTS, 0, 1);
    AddVertex(x + 0.5f, y + 0.5f);
}

void TGLRenderDriver::DrawSegment(float x0, float y0, float x1, float y1, float tx, float ty) {
    Gather(GL_LINES, 0, 2);
    float sx, sy;
    Transform(x0, y0, tx, ty, sx, sy);
    AddVertex(sx + 0.5f, sy + 0.5f);
    Transform(x1, y1, tx, ty, sx, sy);
    AddVertex(sx + 0.5f, sy + 0.5f);
}

void TGLRenderDriver::DrawQuad(float x0, float y0, float x1, float y1, float tx, float ty) {
    Gather(GL_QUADS, 0, 4);
    const float corners[4][2] = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    float sx, sy;
    for (const auto& corner : corners) {
        Transform(corner[0], corner[1], tx, ty, sx, sy);
        AddVertex(sx, sy);
    }
}

void TGLRenderDriver::DrawTexturedQuad(uint32_t texture, const TTexCoords& coords, float x0, float y0, float x1,
                                       float y1, float tx, float ty) {
    Gather(GL_QUADS, texture, 4, coords.layer >= 0);
    const float corners[4][4] = {{x0, y0, coords.umin, coords.vmin},
                                 {x1, y0, coords.umax, coords.vmin},
                                 {x1, y1, coords.umax, coords.vmax},
                                 {x0, y1, coords.umin, coords.vmax}};
    float sx, sy;
    for (const auto& corner : corners) {
        Transform(corner[0], corner[1], tx, ty, sx, sy);
        AddVertex(sx, sy, corner[2], corner[3], coords.layer);
    }
}

namespace {

bool PowerOfTwo(int value) { return value > 0 && (value & (value - 1)) == 0; }

bool Whole(float value) { return value == std::floor(value); }

}  // namespace

// Powers of two keep every step of the GL's interpolation exact, so the
// texture coordinate at a pixel centre is exactly a texel centre and linear
// filtering weighs in no neighbour.
bool TGLRenderDriver::PlacesTexelsOnPixels(float x0, float y0, float x1, float y1, float tx, float ty, int width,
                                           int height) const {
    if (!nearestWhenAligned || ix_ != 1 || iy_ != 0 || jx_ != 0 || jy_ != 1) return false;
    if (!PowerOfTwo(width) || !PowerOfTwo(height)) return false;
    float left, top, right, bottom;
    Transform(x0, y0, tx, ty, left, top);
    Transform(x1, y1, tx, ty, right, bottom);
    return Whole(left) && Whole(top) && right - left == static_cast<float>(width) && bottom - top == static_cast<float>(height);
}

// Polygons are convex (an ellipse always is), so a fan from the first corner
// covers the same pixels as the polygon; as plain triangles, a run of
// polygons is one draw.
void TGLRenderDriver::AddCornerFan() {
    const size_t corners = corners_.size() / 2;
    Gather(GL_TRIANGLES, 0, 3 * (corners - 2));
    for (size_t k = 1; k + 1 < corners; ++k) {
        AddVertex(corners_[0], corners_[1]);
        AddVertex(corners_[2 * k], corners_[2 * k + 1]);
        AddVertex(corners_[2 * k + 2], corners_[2 * k + 3]);
    }
}

void TGLRenderDriver::DrawEllipse(float x0, float y0, float x1, float y1, float tx, float ty) {
    const float xr = (x1 - x0) * 0.5f;
    const float yr = (y1 - y0) * 0.5f;
    const float cx = x0 + xr;
    const float cy = y0 + yr;
    const int n = EllipseSegmentCount(xr, yr);
    corners_.resize(2 * static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        const double theta = i * 360.0 / n * std::numbers::pi / 180.0;
        Transform(cx + xr * static_cast<float>(std::cos(theta)), cy - yr * static_cast<float>(std::sin(theta)), tx, ty,
                  corners_[2 * i], corners_[2 * i + 1]);
    }
    AddCornerFan();
}

void TGLRenderDriver::DrawPolygon(const float* points, int count, float ax, float ay, float tx, float ty) {
    // Fewer than three corners, or an x without its y, is not a polygon.
    if (!points || count < 6 || count % 2 != 0) return;
    corners_.resize(static_cast<size_t>(count));
    for (int k = 0; k < count; k += 2) Transform(points[k] + ax, points[k + 1] + ay, tx, ty, corners_[k], corners_[k + 1]);
    AddCornerFan();
}

void TGLRenderDriver::BlitPixmap(const std::shared_ptr<TPixmap>& pixmap, float x, float y) {
    if (!pixmap || pixmap->width <= 0 || pixmap->height <= 0) return;
    Flush();
    DisableTexturing();
    // GL draws pixel rows bottom-up.
    TPixmapRef rows = MirrorPixmapY(pixmap);
    if (rows->format != FormatRGBA8888) rows = rows->Convert(FormatRGBA8888);
    DrawPixelRows(*this, *rows, x, y);
}

std::shared_ptr<TPixmap> TGLRenderDriver::ReadBackBuffer(int x, int y, int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    TPixmapRef pixels = TPixmap::Create(width, height, FormatRGBA8888, 4);
    if (width == 0 || height == 0) return pixels;
    Flush();
    // Parts of the rectangle outside the window are not written by GL; a
    // rectangle wholly outside is not read at all, which also keeps the
    // arithmetic below away from the ends of the integers.
    std::memset(pixels->pixels, 0, static_cast<size_t>(pixels->pitch) * height);
    const int64_t bottom = int64_t{height_} - height - y;
    if (int64_t{x} + width <= 0 || x >= width_ || bottom + height <= 0 || bottom >= height_) return pixels;
    ReadPixelRows(x, static_cast<int>(bottom), *pixels);
    // GL returns the bottom row first; callers want row 0 at the top.
    return MirrorPixmapY(pixels);
}

}  // namespace vesk
