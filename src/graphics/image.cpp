// Making images: from pixmaps and picture files, from the cells of a sheet,
// and empty lockable ones.
#include <vesk/graphics/image.h>

#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/render_driver.h>
#include <vesk/pixmap/pixmap_reader.h>
#include <vesk/runtime/failure.h>

#include <algorithm>
#include <string>

namespace vesk {
namespace {

int ResolveFlags(int flags) { return flags == -1 ? GetDefaultImageFlags() : flags; }

TPixmapRef LoadPixmap(const TUrl& source) { return ReadPixmap(source); }

// Pixmaps without alpha get it from the transparent colour; pixmaps that
// have alpha keep their own.
TPixmapRef ApplyMask(const TPixmapRef& pixmap, int flags) {
    if (!(flags & IMAGE_MASKED) || FormatEntry(AlphaBits, pixmap->format) != 0) return pixmap;
    const TDrawState& state = DrawState();
    return MaskColourToAlpha(pixmap, state.transparentRed, state.transparentGreen, state.transparentBlue);
}

void ApplyAutoCentre(const TImageRef& image) {
    if (GetAutoCentreAnchor()) CentreImageAnchor(image);
}

// An image shows at least one pixel in at least one frame.
void CheckImageShape(int width, int height, int frameCount) {
    if (width < 1 || height < 1)
        Fail("Unable to create texture", "an image of " + std::to_string(width) + " x " + std::to_string(height) +
                                             " pixels: width and height must be at least 1");
    if (frameCount < 1)
        Fail("Unable to create texture", "an image of " + std::to_string(frameCount) + " frames: it needs at least 1");
}

}  // namespace

TImage::TImage(int width, int height, int frameCount, int flags)
    // A negative count would ask the vector for billions of entries.
    : width(width), height(height), flags(flags), frames(std::max(frameCount, 0)), pixmaps(std::max(frameCount, 0)) {}

TImageRef CreateLockableImage(int width, int height, int frameCount, int flags) {
    CheckImageShape(width, height, frameCount);
    flags = ResolveFlags(flags) | IMAGE_DYNAMIC;
    auto image = std::make_shared<TImage>(width, height, frameCount, flags);
    for (auto& frame : image->frames) frame = RenderDriver().MakeDynamicFrame(width, height, flags);
    ApplyAutoCentre(image);
    return image;
}

TImageRef MakeImage(const TPixmapRef& source, int flags) {
    if (!source) return nullptr;
    CheckImageShape(source->width, source->height, 1);
    flags = ResolveFlags(flags);
    TPixmapRef pixmap = ApplyMask(source, flags);
    auto image = std::make_shared<TImage>(pixmap->width, pixmap->height, 1, flags);
    image->frames[0] = RenderDriver().MakeFrameFromPixmap(pixmap, flags);
    image->pixmaps[0] = pixmap;
    ApplyAutoCentre(image);
    return image;
}

TImageRef MakeImage(const TUrl& source, int flags) { return MakeImage(LoadPixmap(source), flags); }

TImageRef MakeCellImage(const TPixmapRef& source, int cellWidth, int cellHeight, int firstCell, int cellCount, int flags) {
    // Cells of no size or before the first would divide by zero or reach
    // outside the sheet.
    if (!source || cellWidth <= 0 || cellHeight <= 0 || firstCell < 0 || cellCount < 1) return nullptr;
    flags = ResolveFlags(flags);
    TPixmapRef sheet = ApplyMask(source, flags);
    const int columns = sheet->width / cellWidth;
    const int rows = sheet->height / cellHeight;
    if (static_cast<int64_t>(columns) * rows < static_cast<int64_t>(firstCell) + cellCount) return nullptr;
    auto image = std::make_shared<TImage>(cellWidth, cellHeight, cellCount, flags);
    RenderDriver().ReserveFrames(cellWidth, cellHeight, flags, cellCount);
    for (int i = firstCell; i < firstCell + cellCount; ++i) {
        TPixmapRef cell = sheet->SubPixmap((i % columns) * cellWidth, (i / columns) * cellHeight, cellWidth, cellHeight)->Clone();
        image->frames[i - firstCell] = RenderDriver().MakeFrameFromPixmap(cell, flags);
        image->pixmaps[i - firstCell] = cell;
    }
    ApplyAutoCentre(image);
    return image;
}

TImageRef MakeCellImage(const TUrl& source, int cellWidth, int cellHeight, int firstCell, int cellCount, int flags) {
    if (cellWidth <= 0 || cellHeight <= 0) return nullptr;
    return MakeCellImage(LoadPixmap(source), cellWidth, cellHeight, firstCell, cellCount, flags);
}

void SetImageAnchor(const TImageRef& image, float x, float y) {
    image->anchorX = x;
    image->anchorY = y;
}

void CentreImageAnchor(const TImageRef& image) {
    image->anchorX = image->width * 0.5f;
    image->anchorY = image->height * 0.5f;
}

int GetImageWidth(const TImageRef& image) { return image->width; }
int GetImageHeight(const TImageRef& image) { return image->height; }

}  // namespace vesk
