// Images: the drawable unit of the 2D layer. An image has a size, one or
// more frames made by the render driver, an anchor (the point of the image
// placed at the drawing position) and flags. Images come from pixmaps or
// picture files, from cells of a sheet, or empty and lockable, to be filled
// from the screen or through a locked pixmap.
#pragma once

#include <vesk/graphics/image_frame.h>
#include <vesk/graphics/image_settings.h>
#include <vesk/pixmap/pixmap.h>
#include <vesk/stream/url.h>

#include <cstdint>
#include <memory>
#include <vector>

namespace vesk {

class TImage {
public:
    int32_t width = 0;
    int32_t height = 0;
    int32_t flags = 0;
    float anchorX = 0;
    float anchorY = 0;
    std::vector<std::shared_ptr<TImageFrame>> frames;
    // The pixmap each frame was made from; null for frames made empty.
    std::vector<TPixmapRef> pixmaps;

    TImage(int width, int height, int frameCount, int flags);
};
using TImageRef = std::shared_ptr<TImage>;

// Images are made while graphics is open ("Unable to calculate tex size"
// otherwise), and have at least 1 x 1 pixels and one frame ("Unable to
// create texture" otherwise).
//
// Flags -1 stands for the default image flags. IMAGE_DYNAMIC is always added.
TImageRef CreateLockableImage(int width, int height, int frameCount, int flags = -1);
// One frame from a pixmap, or from anything the pixmap readers accept, such
// as a file name ("hero.png"). Null when nothing can be read.
TImageRef MakeImage(const TPixmapRef& pixmap, int flags = -1);
TImageRef MakeImage(const TUrl& source, int flags = -1);
// cellCount frames from the cells of a sheet, counted left to right and top
// to bottom from firstCell. Null when the sheet cannot be read or has fewer
// cells, and for cells of no size or a range of no cells.
TImageRef MakeCellImage(const TPixmapRef& sheet, int cellWidth, int cellHeight, int firstCell, int cellCount, int flags = -1);
TImageRef MakeCellImage(const TUrl& source, int cellWidth, int cellHeight, int firstCell, int cellCount, int flags = -1);

void SetImageAnchor(const TImageRef& image, float x, float y);
void CentreImageAnchor(const TImageRef& image);
int GetImageWidth(const TImageRef& image);
int GetImageHeight(const TImageRef& image);

// Lock raises "Image frame cannot be locked" for frames that are not
// dynamic, Unlock "Image frame cannot be unlocked".
TPixmapRef LockImageFrame(const TImageRef& image, int frame, int read, int write);
void UnlockImageFrame(const TImageRef& image, int frame);
// Replaces a frame with the image-sized rectangle of the back buffer whose
// top-left is at window pixel (x, y).
void GrabImageFrame(const TImageRef& image, int x, int y, int frame);

// Drawing follows the current colour, alpha, blend mode, rotation, scale and
// origin; the image's own anchor places it (the drawing anchor does not).
void DrawImageFrame(const TImageRef& image, float x, float y, int frame);
void DrawImageStretched(const TImageRef& image, float x, float y, float width, float height, int frame);
// Covers the clip viewport with copies of the frame, unrotated and
// unscaled, aligned so that one copy sits at (x, y).
void TileImageFrame(const TImageRef& image, float x, float y, int frame);

}  // namespace vesk
