// Drawing primitives of the front end: points, line segments, filled
// rectangles, ovals and polygons, and pixmaps pasted to or grabbed from the
// back buffer. Shapes are placed by the drawing state: the origin moves
// everything, the anchor is the shape's own point put at the given position,
// and rotation and scale turn the shape about that point.
#pragma once

#include <vesk/pixmap/pixmap.h>

#include <vector>

namespace vesk {

// One pixel; rotation, scale and anchor do not apply.
void PlotPoint(float x, float y);
// drawLastPixel also lights the end point, which GL's line rule leaves out.
void DrawLineSegment(float x0, float y0, float x1, float y1, bool drawLastPixel);
void FillRect(float x, float y, float width, float height);
void FillOval(float x, float y, float width, float height);
// Corners as x, y, x, y, ...; placed by origin and anchor only. Fewer than
// three corners, or an odd count of values, draw nothing.
void FillPolygon(const std::vector<float>& points);
// The pixmap's top-left at window pixel (x, y), unchanged by the drawing
// state apart from blending and the viewport.
void PastePixmapToScreen(const TPixmapRef& pixmap, float x, float y);
// The rectangle at window pixel (x, y), row 0 at the top, in FormatRGBA8888.
TPixmapRef GrabScreenPixmap(int x, int y, int width, int height);

}  // namespace vesk
