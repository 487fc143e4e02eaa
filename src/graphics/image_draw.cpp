// Using images: locking frames, grabbing them from the screen and drawing
// them. Frame numbers outside the image are ignored rather than trusted.
#include <vesk/graphics/image.h>

#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/render_driver.h>

#include <vesk/graphics/graphics.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace vesk {
namespace {

bool HasFrame(const TImageRef& image, int frame) {
    return image && frame >= 0 && frame < static_cast<int>(image->frames.size());
}

TImageFrame* FrameAt(const TImageRef& image, int frame) {
    return HasFrame(image, frame) ? image->frames[frame].get() : nullptr;
}

// The start of the first tile along one axis: the tile grid through the
// drawing position, first tile reaching into the viewport's first pixel.
int64_t FirstTileStart(float position, int64_t viewStart, int size) {
    const int64_t gridStart = viewStart - size + 1;
    const double cell = std::floor(position);
    // Far positions only shift the grid by whole tiles; what matters is where
    // it stands within one tile.
    int64_t remainder = static_cast<int64_t>(std::fmod(cell - static_cast<double>(gridStart), size));
    if (remainder < 0) remainder += size;
    return gridStart + remainder;
}

// The part of the viewport inside the window along one axis: tiles beyond
// the window would not show, and a vast viewport must not mean vast work.
struct TSpan {
    int64_t start, end;
};

TSpan VisibleSpan(int viewStart, int viewSize, int screenSize) {
    return {std::max<int64_t>(viewStart, 0), std::min<int64_t>(int64_t{viewStart} + viewSize, screenSize)};
}

}  // namespace

TPixmapRef LockImageFrame(const TImageRef& image, int frame, int read, int write) {
    TImageFrame* target = FrameAt(image, frame);
    return target ? target->Lock(read, write) : nullptr;
}

void UnlockImageFrame(const TImageRef& image, int frame) {
    if (TImageFrame* target = FrameAt(image, frame)) target->Unlock();
}

void GrabImageFrame(const TImageRef& image, int x, int y, int frame) {
    if (!HasFrame(image, frame)) return;
    TPixmapRef pixels = RenderDriver().ReadBackBuffer(x, y, image->width, image->height);
    if (image->flags & IMAGE_MASKED) {
        const TDrawState& state = DrawState();
        pixels = MaskColourToAlpha(pixels, state.transparentRed, state.transparentGreen, state.transparentBlue);
    }
    image->frames[frame] = RenderDriver().MakeFrameFromPixmap(pixels, image->flags);
    image->pixmaps[frame] = pixels;
}

void DrawImageFrame(const TImageRef& image, float x, float y, int frame) {
    if (!image) return;
    DrawImageStretched(image, x, y, static_cast<float>(image->width), static_cast<float>(image->height), frame);
}

void DrawImageStretched(const TImageRef& image, float x, float y, float width, float height, int frame) {
    TImageFrame* target = FrameAt(image, frame);
    if (!target) return;
    const TDrawState& state = DrawState();
    const float ax = image->anchorX;
    const float ay = image->anchorY;
    target->Draw(-ax, -ay, width - ax, height - ay, x + state.originX, y + state.originY);
}

void TileImageFrame(const TImageRef& image, float x, float y, int frame) {
    TImageFrame* target = FrameAt(image, frame);
    if (!target || image->width <= 0 || image->height <= 0) return;
    const TDrawState& state = DrawState();
    const int w = image->width;
    const int h = image->height;
    const float fx = x + state.originX - image->anchorX;
    const float fy = y + state.originY - image->anchorY;
    if (!std::isfinite(fx) || !std::isfinite(fy)) return;  // no grid to align to
    // Whole tiles step by whole pixels; the fraction of the position moves
    // every tile alike.
    const float offsetX = fx - std::floor(fx);
    const float offsetY = fy - std::floor(fy);
    RenderDriver().ApplyMatrix(1, 0, 0, 1);
    const TSpan across = VisibleSpan(state.clipX, state.clipWidth, GetScreenWidth());
    const TSpan down = VisibleSpan(state.clipY, state.clipHeight, GetScreenHeight());
    for (int64_t row = FirstTileStart(fy, down.start, h); row < down.end; row += h) {
        for (int64_t column = FirstTileStart(fx, across.start, w); column < across.end; column += w) {
            target->Draw(0, 0, static_cast<float>(w), static_cast<float>(h), static_cast<float>(column) + offsetX,
                         static_cast<float>(row) + offsetY);
        }
    }
    SetRotationAndScale(state.rotation, state.scaleX, state.scaleY);
}

}  // namespace vesk
