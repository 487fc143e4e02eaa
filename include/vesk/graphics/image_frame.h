// An image frame: one picture of an image, held by the render driver (a
// texture for the OpenGL driver). Frames draw themselves as a quad through
// the driver's matrix; lockable frames also hand out their pixels.
#pragma once

#include <vesk/pixmap/pixmap.h>

namespace vesk {

class TImageFrame {
public:
    virtual ~TImageFrame() = default;
    // Draws the frame over the local box (x0, y0)-(x1, y1), transformed by
    // the driver's matrix and moved by (tx, ty).
    virtual void Draw(float, float, float, float, float, float) {}
    // The frame's pixels for reading and/or writing until Unlock.
    virtual TPixmapRef Lock(int, int) { return nullptr; }
    virtual void Unlock() {}
};

}  // namespace vesk
