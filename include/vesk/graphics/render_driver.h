// The render driver contract: everything the 2D front end asks of a graphics
// API, in one abstract class. The front end keeps the drawing state and turns
// calls into placed coordinates; a driver turns those into API calls. The
// base class carries harmless defaults so a partial driver still runs.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace vesk {

class TImageFrame;
class TPixmap;

// One entry of a driver's display-mode list.
struct TGraphicsMode {
    int32_t width = 0;
    int32_t height = 0;
    int32_t depth = 0;
    int32_t hertz = 0;
};

// Whether two depths name the same display modes. SDL reports a mode of 32
// bits per pixel, 8 of them unused, as 24 bits, while programs ask for 32.
inline bool SameDepth(int a, int b) { return a == b || ((a == 24 || a == 32) && (b == 24 || b == 32)); }

// Whether a display mode matches a request; a request value of 0 matches any.
bool DisplayModeMatches(const TGraphicsMode& mode, int width, int height, int depth, int hertz);

class TRenderDriver {
public:
    virtual ~TRenderDriver() = default;

    // Modes and presentation.
    virtual void OpenMode(int width, int height, int depth, int hertz) = 0;
    virtual void CloseMode() {}
    virtual void PresentFrame() {}
    virtual void SetCursorVisible(bool) {}
    // The full-screen modes the display offers; a driver without a display
    // offers none.
    virtual const std::vector<TGraphicsMode>& DisplayModes() const {
        static const std::vector<TGraphicsMode> none;
        return none;
    }

    // Frames backed by the API's textures.
    virtual std::shared_ptr<TImageFrame> MakeDynamicFrame(int, int, int) { return nullptr; }
    virtual std::shared_ptr<TImageFrame> MakeFrameFromPixmap(const std::shared_ptr<TPixmap>&, int) { return nullptr; }
    // Tells the driver that the next `count` frames made from pixmaps of
    // width x height with these flags belong together (the cells of one
    // sheet, the glyphs of one font), so that a driver sharing textures
    // between frames keeps them on one. Only a hint: nothing to do here.
    virtual void ReserveFrames(int, int, int, int) {}

    // Drawing state.
    virtual void ApplyBlendMode(int) {}
    virtual void ApplyAlpha(float) {}
    virtual void ApplyColor(int, int, int) {}
    virtual void ApplyClearColor(int, int, int) {}
    virtual void ApplyViewport(int, int, int, int) {}
    virtual void ApplyMatrix(float, float, float, float) {}
    virtual void ApplyLineThickness(float) {}

    // Drawing. Segments, quads and ellipses take a local box (x0, y0)-(x1, y1)
    // that the matrix transforms, plus a translation (tx, ty).
    virtual void ClearBuffer() {}
    virtual void DrawPoint(float, float) {}
    virtual void DrawSegment(float, float, float, float, float, float) {}
    virtual void DrawQuad(float, float, float, float, float, float) {}
    virtual void DrawEllipse(float, float, float, float, float, float) {}
    virtual void DrawPolygon(const float*, int, float, float, float, float) {}
    virtual void BlitPixmap(const std::shared_ptr<TPixmap>&, float, float) {}
    virtual std::shared_ptr<TPixmap> ReadBackBuffer(int, int, int, int) { return nullptr; }
};

// The process-wide render driver; the graphics module installs the
// platform's driver when it initialises.
TRenderDriver& RenderDriver();
void SetRenderDriver(std::shared_ptr<TRenderDriver> driver);
// The driver the module installed, even while another one is current.
TRenderDriver& PlatformRenderDriver();

// The platform's own render driver with its window layer, made by the back
// end this build links (the files named after what they wrap define it).
std::shared_ptr<TRenderDriver> MakePlatformRenderDriver();

}  // namespace vesk
