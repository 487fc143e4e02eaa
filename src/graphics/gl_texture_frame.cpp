#include "graphics/gl_texture_frame.h"

#include "graphics/gl_driver.h"
#include "graphics/gl_texture.h"
#include <vesk/graphics/image_settings.h>
#include <vesk/runtime/failure.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace vesk {
namespace {

// A new texture-sized pixmap, cleared to transparent black: texels the
// picture does not cover must not show leftover memory when filtering or
// mip-mapping reaches them.
TPixmapRef ClearedTexturePixmap(int textureWidth, int textureHeight) {
    TPixmapRef pixmap = TPixmap::Create(textureWidth, textureHeight, FormatRGBA8888, 4);
    std::memset(pixmap->pixels, 0, static_cast<size_t>(pixmap->pitch) * textureHeight);
    return pixmap;
}

// The picture at the top-left of a texture-sized pixmap, with its last
// column and row repeated once beyond it.
TPixmapRef EnlargeWithEdges(const TPixmapRef& picture, int textureWidth, int textureHeight) {
    const int w = picture->width;
    const int h = picture->height;
    TPixmapRef enlarged = ClearedTexturePixmap(textureWidth, textureHeight);
    enlarged->Paste(*picture, 0, 0);
    if (w == 0 || h == 0) return enlarged;
    if (w < textureWidth) enlarged->Paste(*enlarged->SubPixmap(w - 1, 0, 1, h), w, 0);
    if (h < textureHeight) enlarged->Paste(*enlarged->SubPixmap(0, h - 1, w, 1), 0, h);
    if (w < textureWidth && h < textureHeight) enlarged->Paste(*enlarged->SubPixmap(w - 1, h - 1, 1, 1), w, h);
    return enlarged;
}

// A window into pixmap that keeps pixmap alive as long as the window lives.
TPixmapRef OwningWindow(const TPixmapRef& pixmap, int width, int height) {
    struct TPair {
        TPixmapRef whole, window;
    };
    auto pair = std::make_shared<TPair>(TPair{pixmap, pixmap->SubPixmap(0, 0, width, height)});
    return TPixmapRef(pair, pair->window.get());
}

void SetCoverage(TGLTextureFrame& frame, int width, int height, int textureWidth, int textureHeight, int flags) {
    frame.width = width;
    frame.height = height;
    frame.filtered = (flags & IMAGE_FILTERED) != 0;
    frame.umin = 0;
    frame.vmin = 0;
    frame.umax = static_cast<float>(width) / static_cast<float>(textureWidth);
    frame.vmax = static_cast<float>(height) / static_cast<float>(textureHeight);
    frame.contextSequence = GLDriver().ContextSequence();
}

}  // namespace

TGLTextureFrame::~TGLTextureFrame() {
    // A texture of an earlier context died with that context; its name may
    // now belong to someone else's texture. With no context at all (after
    // closing, or at process exit, when the driver may already be gone)
    // there is nothing to delete either. A page's slot is given back; the
    // page deletes its texture under the same rules.
    const bool current = GLContextLive() && contextSequence != 0 && contextSequence == GLDriver().ContextSequence();
    if (slot.page) {
        if (current) GLDriver().Pages().Release(slot);
        else slot.page->Release(slot.layer);
    } else if (current) {
        DeleteTexture(texture);
    }
    contextSequence = 0;
}

void TGLTextureFrame::Draw(float x0, float y0, float x1, float y1, float tx, float ty) {
    TGLRenderDriver& driver = GLDriver();
    const float layer = slot.page ? slot.page->LayerCoordinate(slot.layer) : -1.0f;
    if (filtered) {
        // Placed texel for texel, bilinear sampling reads each texel at its
        // centre and gives the texel itself: nearest sampling gives the same
        // pixels for much less work.
        const bool nearest = driver.PlacesTexelsOnPixels(x0, y0, x1, y1, tx, ty, width, height);
        if (nearest != samplingNearest) {
            SetTextureSampling(texture, !nearest);
            samplingNearest = nearest;
        }
    }
    driver.DrawTexturedQuad(texture, {umin, vmin, umax, vmax, layer}, x0, y0, x1, y1, tx, ty);
}

TPixmapRef TGLTextureFrame::Lock(int, int) { Fail("Image frame cannot be locked"); }

void TGLTextureFrame::Unlock() { Fail("Image frame cannot be unlocked"); }

std::shared_ptr<TGLTextureFrame> TGLTextureFrame::FromPixmap(const TPixmapRef& pixmap, int flags) {
    return Make(pixmap, flags, true);
}

std::shared_ptr<TGLTextureFrame> TGLTextureFrame::WithOwnTexture(const TPixmapRef& pixmap, int flags) {
    return Make(pixmap, flags, false);
}

std::shared_ptr<TGLTextureFrame> TGLTextureFrame::Make(const TPixmapRef& pixmap, int flags, bool mayShare) {
    int textureWidth, textureHeight;
    CalculateTextureSize(pixmap->width, pixmap->height, textureWidth, textureHeight);
    const int w = std::min(pixmap->width, textureWidth);
    const int h = std::min(pixmap->height, textureHeight);
    // Too large for the GL: shrink to fit rather than fail.
    TPixmapRef picture = (w < pixmap->width || h < pixmap->height) ? ScalePixmap(pixmap, w, h) : pixmap;
    if (w < textureWidth || h < textureHeight) picture = EnlargeWithEdges(picture, textureWidth, textureHeight);
    else if (picture->format != FormatRGBA8888) picture = picture->Convert(FormatRGBA8888);

    auto frame = std::make_shared<TGLTextureFrame>();
    TTexturePages& pages = GLDriver().Pages();
    if (mayShare && pages.Shares(textureWidth, textureHeight, flags)) {
        frame->slot = pages.Acquire(textureWidth, textureHeight);
        frame->texture = frame->slot.page->Texture();
        frame->slot.page->Fill(frame->slot.layer, *picture);
    } else {
        frame->texture = CreateTexture(textureWidth, textureHeight, flags);
        UploadPixmap(picture, flags);
    }
    SetCoverage(*frame, w, h, textureWidth, textureHeight, flags);
    return frame;
}

TPixmapRef TGLLockableFrame::Lock(int read, int write) {
    // Draws issued before the lock show the picture as it was before it.
    GLDriver().Flush();
    lockRead = read;
    lockWrite = write;
    return view;
}

void TGLLockableFrame::Unlock() {
    if (lockWrite) {
        GLDriver().BindTexture(texture);
        UploadPixmap(backing, flags);
    }
    lockRead = 0;
    lockWrite = 0;
}

std::shared_ptr<TGLLockableFrame> TGLLockableFrame::Create(int width, int height, int flags) {
    int textureWidth, textureHeight;
    CalculateTextureSize(width, height, textureWidth, textureHeight);
    if (textureWidth < width || textureHeight < height)
        Fail("Unable to create texture", "a lockable frame of " + std::to_string(width) + " x " + std::to_string(height) +
                                             " pixels is larger than the largest texture the GL takes (" +
                                             std::to_string(textureWidth) + " x " + std::to_string(textureHeight) + ")");
    auto frame = std::make_shared<TGLLockableFrame>();
    frame->flags = flags;
    frame->backing = ClearedTexturePixmap(textureWidth, textureHeight);
    frame->view = OwningWindow(frame->backing, width, height);
    // Filled from the cleared backing, so that a frame drawn before its
    // first upload shows transparent black rather than stale memory.
    frame->texture = CreateTexture(textureWidth, textureHeight, flags, frame->backing->pixels);
    SetCoverage(*frame, width, height, textureWidth, textureHeight, flags);
    return frame;
}

std::shared_ptr<TGLLockableFrame> TGLLockableFrame::FromPixmap(const TPixmapRef& pixmap, int flags) {
    auto frame = Create(pixmap->width, pixmap->height, flags);
    frame->Lock(0, 1)->Paste(*pixmap, 0, 0);
    frame->Unlock();
    return frame;
}

std::shared_ptr<TImageFrame> TGLRenderDriver::MakeDynamicFrame(int width, int height, int flags) {
    return TGLLockableFrame::Create(width, height, flags);
}

std::shared_ptr<TImageFrame> TGLRenderDriver::MakeFrameFromPixmap(const std::shared_ptr<TPixmap>& pixmap, int flags) {
    if (flags & IMAGE_DYNAMIC) return TGLLockableFrame::FromPixmap(pixmap, flags);
    return TGLTextureFrame::FromPixmap(pixmap, flags);
}

void TGLRenderDriver::ReserveFrames(int width, int height, int flags, int count) {
    if (width <= 0 || height <= 0) return;
    int textureWidth, textureHeight;
    CalculateTextureSize(width, height, textureWidth, textureHeight);
    if (pages_.Shares(textureWidth, textureHeight, flags)) pages_.Reserve(textureWidth, textureHeight, count);
}

}  // namespace vesk
