// Pixmaps: rectangles of pixels in main memory. Image readers produce them,
// the PNG writer consumes them and the graphics layer turns them into
// textures. A pixmap either owns one block of pixel memory or looks into
// memory that belongs to someone else (a window into another pixmap, a
// wrapped buffer); windows hold no reference to what they look into.
#pragma once

#include <vesk/pixmap/pixel_format.h>

#include <cstdint>
#include <memory>

namespace vesk {

class TPixmap;
using TPixmapRef = std::shared_ptr<TPixmap>;

// A packed colour: alpha in bits 24-31, red 16-23, green 8-15, blue 0-7.
using TArgb = uint32_t;

class TPixmap {
public:
    uint8_t* pixels = nullptr;  // first byte of row 0, the top row
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;     // bytes from one row's start to the next
    int32_t format = 0;    // FormatI8 ... FormatRGBA8888
    int32_t capacity = 0;  // owned bytes, or -1 when the memory is borrowed

    TPixmap(const TPixmap&) = delete;
    TPixmap& operator=(const TPixmap&) = delete;
    virtual ~TPixmap() = default;

    // The pixel accessors do not check coordinates, to stay fast: callers
    // keep 0 <= x < width and 0 <= y < height.
    uint8_t* PixelAddress(int32_t x, int32_t y) const;
    TArgb GetPixel(int32_t x, int32_t y) const;
    void SetPixel(int32_t x, int32_t y, TArgb argb);

    // A window that does not lie wholly inside raises "Window outside the
    // pixmap"; a paste that does not fit, "Paste outside the pixmap".
    TPixmapRef SubPixmap(int32_t x, int32_t y, int32_t w, int32_t h) const;
    void Paste(const TPixmap& source, int32_t x, int32_t y);
    TPixmapRef Clone() const;
    TPixmapRef Convert(int32_t newFormat) const;

    // A new owning pixmap whose rows are padded to a multiple of align bytes.
    // Its pixel memory is not cleared. A size below 1, or one whose bytes a
    // 32-bit capacity cannot count, raises "Invalid pixmap size"; a format
    // other than the six, "Invalid pixmap format".
    static TPixmapRef Create(int32_t width, int32_t height, int32_t format, int32_t align);
    // A pixmap over memory it does not own (capacity -1), described by the
    // caller: a size below 1 raises "Invalid pixmap size"; any format is
    // taken (the accessors read 0 and write nothing for an unknown one).
    static TPixmapRef Wrap(void* pixels, int32_t width, int32_t height, int32_t pitch, int32_t format);

private:
    TPixmap() = default;
    std::unique_ptr<uint8_t[]> block_;  // the owned memory, when capacity >= 0
};

// The transforms give null for a null pixmap.
// Bilinearly resampled copy in the source's format; the new size must be at
// least 1 x 1, else "Invalid pixmap size".
TPixmapRef ScalePixmap(const TPixmapRef& pixmap, int32_t newWidth, int32_t newHeight);
// FormatRGBA8888 copy in which pixels of the given colour become transparent,
// their colour replaced by the average of their non-mask neighbours so that
// filtered edges do not bleed the mask colour.
TPixmapRef MaskColourToAlpha(const TPixmapRef& pixmap, int red, int green, int blue);
// Copies mirrored left to right, and top to bottom.
TPixmapRef MirrorPixmapX(const TPixmapRef& pixmap);
TPixmapRef MirrorPixmapY(const TPixmapRef& pixmap);

// Plain forwarding functions, the public surface the rest of the engine uses.
TPixmapRef CreatePixmap(int32_t width, int32_t height, int32_t format, int32_t align = 4);
TPixmapRef WrapPixmap(void* pixels, int32_t width, int32_t height, int32_t pitch, int32_t format);
TPixmapRef ClonePixmap(const TPixmapRef& pixmap);
TPixmapRef ConvertPixmap(const TPixmapRef& pixmap, int32_t format);
TPixmapRef PixmapWindow(const TPixmapRef& pixmap, int32_t x, int32_t y, int32_t width, int32_t height);
uint8_t* PixmapPixelAddress(const TPixmapRef& pixmap, int32_t x, int32_t y);
TArgb GetPixmapPixel(const TPixmapRef& pixmap, int32_t x, int32_t y);
void SetPixmapPixel(const TPixmapRef& pixmap, int32_t x, int32_t y, TArgb argb);
int32_t PixmapWidth(const TPixmapRef& pixmap);
int32_t PixmapHeight(const TPixmapRef& pixmap);
int32_t PixmapPitch(const TPixmapRef& pixmap);
int32_t PixmapFormat(const TPixmapRef& pixmap);

// The pixmap module's once-only initialiser. The format tables are constant
// data, so there is nothing to fill; it exists so that start-up can name
// every module in order.
void InitPixmapModule();

}  // namespace vesk
