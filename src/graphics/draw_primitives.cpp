#include <vesk/graphics/draw_primitives.h>

#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/render_driver.h>
#include <vesk/runtime/failure.h>

#include <string>

namespace vesk {

void PlotPoint(float x, float y) {
    const TDrawState& s = DrawState();
    RenderDriver().DrawPoint(x + s.originX, y + s.originY);
}

void DrawLineSegment(float x0, float y0, float x1, float y1, bool drawLastPixel) {
    const TDrawState& s = DrawState();
    const float dx = s.anchorX + x1 - x0;
    const float dy = s.anchorY + y1 - y0;
    const float tx = x0 + s.originX;
    const float ty = y0 + s.originY;
    RenderDriver().DrawSegment(s.anchorX, s.anchorY, dx, dy, tx, ty);
    if (drawLastPixel) RenderDriver().DrawPoint(dx * s.ix + dy * s.iy + tx, dx * s.jx + dy * s.jy + ty);
}

void FillRect(float x, float y, float width, float height) {
    const TDrawState& s = DrawState();
    RenderDriver().DrawQuad(s.anchorX, s.anchorY, s.anchorX + width, s.anchorY + height, x + s.originX, y + s.originY);
}

void FillOval(float x, float y, float width, float height) {
    const TDrawState& s = DrawState();
    RenderDriver().DrawEllipse(s.anchorX, s.anchorY, s.anchorX + width, s.anchorY + height, x + s.originX, y + s.originY);
}

void FillPolygon(const std::vector<float>& points) {
    const TDrawState& s = DrawState();
    RenderDriver().DrawPolygon(points.data(), static_cast<int>(points.size()), s.anchorX, s.anchorY, s.originX, s.originY);
}

void PastePixmapToScreen(const TPixmapRef& pixmap, float x, float y) { RenderDriver().BlitPixmap(pixmap, x, y); }

TPixmapRef GrabScreenPixmap(int x, int y, int width, int height) {
    if (width < 1 || height < 1)
        Fail("Invalid pixmap size", "a grab of " + std::to_string(width) + " x " + std::to_string(height) +
                                        " pixels: sizes must be at least 1");
    return RenderDriver().ReadBackBuffer(x, y, width, height);
}

}  // namespace vesk
