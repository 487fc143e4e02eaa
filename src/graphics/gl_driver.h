// The OpenGL 1.1 render driver: primitives gathered into vertex arrays and
// drawn once per run of equal state, a few state caches so that repeating a
// state costs nothing, plus the mode operations (context, calibration,
// paced flips).
#pragma once

#include "graphics/gl_batch.h"
#include "graphics/gl_texture_page.h"
#include <vesk/graphics/render_driver.h>
#include "graphics/window.h"

#include <array>
#include <cstdint>
#include <vector>

namespace vesk {

// The part of a texture a frame shows, in texture coordinates, and for a
// frame on a texture page the coordinate of its layer (-1 otherwise).
struct TTexCoords {
    float umin, vmin, umax, vmax;
    float layer = -1;
};

// The context sequence number after `current`; 0 never names a context.
uint32_t NextContextSequence(uint32_t current);

class TGLRenderDriver : public TRenderDriver {
public:
    TGLRenderDriver();

    void OpenMode(int width, int height, int depth, int hertz) override;
    void CloseMode() override;
    void PresentFrame() override;
    void SetCursorVisible(bool show) override;

    std::shared_ptr<TImageFrame> MakeDynamicFrame(int width, int height, int flags) override;
    std::shared_ptr<TImageFrame> MakeFrameFromPixmap(const std::shared_ptr<TPixmap>& pixmap, int flags) override;
    void ReserveFrames(int width, int height, int flags, int count) override;

    void ApplyBlendMode(int mode) override;
    void ApplyAlpha(float alpha) override;
    void ApplyColor(int red, int green, int blue) override;
    void ApplyClearColor(int red, int green, int blue) override;
    void ApplyViewport(int x, int y, int width, int height) override;
    void ApplyMatrix(float ix, float iy, float jx, float jy) override;
    void ApplyLineThickness(float width) override;

    void ClearBuffer() override;
    void DrawPoint(float x, float y) override;
    void DrawSegment(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawQuad(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawEllipse(float x0, float y0, float x1, float y1, float tx, float ty) override;
    void DrawPolygon(const float* points, int count, float ax, float ay, float tx, float ty) override;
    void BlitPixmap(const std::shared_ptr<TPixmap>& pixmap, float x, float y) override;
    std::shared_ptr<TPixmap> ReadBackBuffer(int x, int y, int width, int height) override;

    // A texture frame's picture on the quad (x0, y0)-(x1, y1), like DrawQuad;
    // `texture` is a page when coords name a layer.
    void DrawTexturedQuad(uint32_t texture, const TTexCoords& coords, float x0, float y0, float x1, float y1,
                          float tx, float ty);
    // Whether the quad (x0, y0)-(x1, y1), moved by (tx, ty), lands untransformed
    // on whole pixels with one pixel for each texel of a width x height
    // picture, both sides powers of two: then every pixel centre is a texel
    // centre, exactly. Off when nearestWhenAligned is.
    bool PlacesTexelsOnPixels(float x0, float y0, float x1, float y1, float tx, float ty, int width, int height) const;
    // Lets filtered frames placed texel for texel sample nearest (on by
    // default; tests turn it off to draw what filtering alone gives).
    bool nearestWhenAligned = true;
    // Draws the gathered primitives now. Everything that reads the picture,
    // changes GL state or changes a texture the pending draws may sample
    // calls this first, so batching never changes what gets drawn.
    void Flush();

    // Texture caches, shared with the texture frames. Binding another
    // texture flushes first. Plain textures and pages (layered textures) are
    // bound and enabled apart, as the GL keeps them.
    void BindTexture(uint32_t name);
    void BindLayeredTexture(uint32_t name);
    void EnableTexturing(uint32_t name);
    void EnableLayeredTexturing(uint32_t name);
    void DisableTexturing();
    // A deleted texture's name may be handed out again; the cache must not
    // skip binding the new texture that gets it.
    void ForgetTexture(uint32_t name);

    // The texture pages of the current context.
    TTexturePages& Pages() { return pages_; }
    // The GL draw calls made since the driver was made, for benchmarks.
    uint64_t DrawCallCount() const { return batch_.DrawCount(); }

    const std::vector<TGraphicsMode>& DisplayModes() const override { return modes_; }
    uint32_t ContextSequence() const { return contextSequence_; }
    int ScreenWidth() const { return width_; }
    int ScreenHeight() const { return height_; }
    bool PacingActive() const { return pacingActive_; }
    const std::array<uint8_t, 4>& ColorBytes() const { return color_; }
    // The local-to-screen transform of a point.
    void Transform(float x, float y, float tx, float ty, float& outX, float& outY) const {
        outX = x * ix_ + y * iy_ + tx;
        outY = x * jx_ + y * jy_ + ty;
    }

private:
    void CalibrateRefresh(int hertz);
    // Makes the batch ready for `vertices` more vertices of `mode` on
    // `texture` (0: untextured), flushing when the run cannot go on.
    void Gather(uint32_t mode, uint32_t texture, size_t vertices, bool layered = false);
    void AddVertex(float x, float y, float u = 0, float v = 0, float layer = 0) { batch_.Add({x, y, u, v, layer, color_}); }
    enum class TTexturing { Off, Plain, Layered };
    void SetTexturing(TTexturing texturing);
    // The convex polygon in corners_ as a fan of triangles, in the order
    // the GL itself splits a polygon.
    void AddCornerFan();
    void ResetStateCaches();

    std::vector<TGraphicsMode> modes_;
    int width_ = 0;
    int height_ = 0;
    int depth_ = 0;
    int hertz_ = 0;
    uint32_t contextSequence_ = 0;

    TGLBatch batch_;
    std::vector<float> corners_;  // screen x, y pairs of the polygon being gathered

    int cachedBlendMode_ = 0;
    float lineWidth_ = 1;
    std::array<int, 4> scissor_{};  // x, y, width, height in GL's terms
    bool scissorEnabled_ = false;
    uint32_t boundTexture_ = 0;
    uint32_t boundLayeredTexture_ = 0;
    TTexturing texturing_ = TTexturing::Off;
    TTexturePages pages_;

    bool pacingActive_ = false;
    // Milliseconds times hertz. 64 bits: at 60 Hz a 32-bit value would
    // overflow after about ten hours and pacing would stop.
    int64_t pacingAccumulator_ = 0;
    uint32_t pacingStart_ = 0;

    std::array<uint8_t, 4> color_{};
    float ix_ = 1, iy_ = 0, jx_ = 0, jy_ = 1;
};

// How many corners the driver gives an ellipse of radii xr and yr.
int EllipseSegmentCount(float xr, float yr);

// The platform's render driver as the OpenGL driver (the desktop back end
// always makes one).
TGLRenderDriver& GLDriver();

}  // namespace vesk
