// Image frames of the OpenGL driver. Every frame is a power-of-two texture
// holding the picture at its top-left, with one replicated column and row
// beyond it so that filtering at the right and bottom edges does not pull in
// unrelated texels. Small frames sampled nearest-neighbour hold that texture
// as a layer of a shared texture page instead of a texture object of their
// own, which draws the same pixels. A lockable frame also keeps a
// texture-sized copy of its pixels in memory: locking does no GL work and
// unlocking is one upload.
#pragma once

#include "graphics/gl_texture_page.h"
#include <vesk/graphics/image_frame.h>

#include <cstdint>
#include <memory>

namespace vesk {

// The power-of-two texture size the GL accepts for a w x h picture,
// halved from the next powers of two until the GL takes it. Raises "Unable
// to calculate tex size" when even 1 x 1 is refused.
void CalculateTextureSize(int width, int height, int& textureWidth, int& textureHeight);

class TGLTextureFrame : public TImageFrame {
public:
    float umin = 0, vmin = 0, umax = 1, vmax = 1;
    // The frame's own texture, or the page its slot is on.
    uint32_t texture = 0;
    // The driver's context sequence when the texture was made; the texture
    // is only deleted while that context is still the current one.
    uint32_t contextSequence = 0;
    // The frame's layer of a texture page; no page for a texture of its own.
    TPageSlot slot;
    // The picture's size in texels.
    int width = 0, height = 0;
    // Made with IMAGE_FILTERED; and whether its texture samples nearest for
    // now, as it may while every draw puts one texel on one pixel.
    bool filtered = false;
    bool samplingNearest = false;

    ~TGLTextureFrame() override;
    void Draw(float x0, float y0, float x1, float y1, float tx, float ty) override;
    // Plain texture frames keep no pixels: both raise a failure.
    TPixmapRef Lock(int read, int write) override;
    void Unlock() override;

    // On a texture page when the frame qualifies, else with its own texture.
    static std::shared_ptr<TGLTextureFrame> FromPixmap(const TPixmapRef& pixmap, int flags);
    // Always with a texture of its own, as before pages: what a paged frame
    // must look like.
    static std::shared_ptr<TGLTextureFrame> WithOwnTexture(const TPixmapRef& pixmap, int flags);

private:
    static std::shared_ptr<TGLTextureFrame> Make(const TPixmapRef& pixmap, int flags, bool mayShare);
};

class TGLLockableFrame : public TGLTextureFrame {
public:
    int flags = 0;
    TPixmapRef backing;  // texture-sized, FormatRGBA8888
    TPixmapRef view;     // the picture's part of backing; keeps backing alive
    int lockRead = 0;
    int lockWrite = 0;

    TPixmapRef Lock(int read, int write) override;
    void Unlock() override;

    // Raises "Unable to create texture" when the GL cannot hold the size:
    // a lockable frame never shrinks its picture.
    static std::shared_ptr<TGLLockableFrame> Create(int width, int height, int flags);
    static std::shared_ptr<TGLLockableFrame> FromPixmap(const TPixmapRef& pixmap, int flags);
};

}  // namespace vesk
