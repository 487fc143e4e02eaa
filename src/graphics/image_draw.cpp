// Using images: locking frames, grabbing them from the screen and drawing
// them. Frame numbers outside the image are ignored rather than trusted.
#include <vesk/graphics/image.h>

#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/render_driver.h>

#include <cmath>

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
int FirstTileStart(float position, int viewStart, int size) {
    const int gridStart = viewStart - size + 1;
    int remainder = (static_cast<int>(std::floor(position)) - gridStart) % size;
    if (remainder < 0) remainder += size;
    return gridStart + remainder;
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
    // Whole tiles step by whole pixels; the fraction of the position moves
    // every tile alike.
    const float offsetX = fx - std::floor(fx);
    const float offsetY = fy - std::floor(fy);
    RenderDriver().ApplyMatrix(1, 0, 0, 1);
    const int endX = state.clipX + state.clipWidth;
    const int endY = state.clipY + state.clipHeight;
    for (int row = FirstTileStart(fy, state.clipY, h); row < endY; row += h) {
        for (int column = FirstTileStart(fx, state.clipX, w); column < endX; column += w) {
            target->Draw(0, 0, static_cast<float>(w), static_cast<float>(h), column + offsetX, row + offsetY);
        }
    }
    SetRotationAndScale(state.rotation, state.scaleX, state.scaleY);
}

}  // namespace vesk
