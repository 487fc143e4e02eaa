#include <vesk/pixmap/pixmap.h>

#include <vesk/runtime/failure.h>
#include <vesk/runtime/startup.h>
#include "runtime/std_compat.h"

#include <limits>
#include <string>

namespace vesk {
namespace {

std::string SizeText(int64_t width, int64_t height) { return std::to_string(width) + " x " + std::to_string(height); }

void CheckSize(int32_t width, int32_t height) {
    if (width < 1 || height < 1)
        Fail("Invalid pixmap size", "a pixmap of " + SizeText(width, height) + " pixels: sizes must be at least 1");
}

// A new pixmap has pixels, and its rows bytes: one of no bytes could claim
// any number of rows and make every row-by-row operation spin through them.
void CheckShape(int32_t width, int32_t height, int32_t format) {
    CheckSize(width, height);
    if (FormatEntry(BytesPerPixel, format) == 0)
        Fail("Invalid pixmap format", "format " + std::to_string(format) + " is none of the six (1 to 6)");
}

// The row length padded to align bytes, and the whole block; a block the
// 32-bit capacity cannot count is refused before anything is allocated.
int64_t PaddedPitch(int32_t width, int32_t format, int32_t align) {
    return (int64_t{width} * FormatEntry(BytesPerPixel, format) + align - 1) / align * align;
}

void CheckCapacity(int32_t width, int32_t height, int64_t bytes) {
    if (bytes > std::numeric_limits<int32_t>::max())
        Fail("Invalid pixmap size", "a pixmap of " + SizeText(width, height) + " pixels takes at least " +
                                        std::to_string(bytes) + " bytes, more than a pixmap can hold");
}

// A rectangle of w x h pixels at (x, y) inside a width x height pixmap.
bool Inside(int32_t x, int32_t y, int32_t w, int32_t h, int32_t width, int32_t height) {
    return x >= 0 && y >= 0 && w >= 0 && h >= 0 && int64_t{x} + w <= width && int64_t{y} + h <= height;
}

std::string RectangleText(int32_t x, int32_t y, int32_t w, int32_t h, const TPixmap& pixmap) {
    return SizeText(w, h) + " pixels at (" + std::to_string(x) + ", " + std::to_string(y) + ") of a pixmap of " +
           SizeText(pixmap.width, pixmap.height) + " pixels";
}

uint8_t Component(TArgb argb, int shift) { return static_cast<uint8_t>(argb >> shift); }

TArgb PackArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) { return a << 24 | r << 16 | g << 8 | b; }

}  // namespace

TPixmapRef TPixmap::Create(int32_t width, int32_t height, int32_t format, int32_t align) {
    if (align < 1) align = 1;  // a zero alignment would divide by zero
    CheckShape(width, height, format);
    const int64_t pitch = PaddedPitch(width, format, align);
    CheckCapacity(width, height, pitch);  // first: a row past 32 bits would overflow the product
    CheckCapacity(width, height, pitch * height);
    TPixmapRef pixmap(new TPixmap);
    pixmap->width = width;
    pixmap->height = height;
    pixmap->format = format;
    pixmap->pitch = static_cast<int32_t>(pitch);
    pixmap->capacity = static_cast<int32_t>(pitch * height);
    pixmap->block_ = MakeUninitialisedArray<uint8_t>(static_cast<size_t>(pixmap->capacity));
    pixmap->pixels = pixmap->block_.get();
    return pixmap;
}

TPixmapRef TPixmap::Wrap(void* pixels, int32_t width, int32_t height, int32_t pitch, int32_t format) {
    CheckSize(width, height);
    TPixmapRef pixmap(new TPixmap);
    pixmap->pixels = static_cast<uint8_t*>(pixels);
    pixmap->width = width;
    pixmap->height = height;
    pixmap->pitch = pitch;
    pixmap->format = format;
    pixmap->capacity = -1;
    return pixmap;
}

uint8_t* TPixmap::PixelAddress(int32_t x, int32_t y) const {
    return pixels + static_cast<ptrdiff_t>(y) * pitch + static_cast<ptrdiff_t>(x) * FormatEntry(BytesPerPixel, format);
}

TPixmapRef TPixmap::SubPixmap(int32_t x, int32_t y, int32_t w, int32_t h) const {
    if (!Inside(x, y, w, h, width, height)) Fail("Window outside the pixmap", "a window of " + RectangleText(x, y, w, h, *this));
    return Wrap(PixelAddress(x, y), w, h, pitch, format);
}

TPixmapRef TPixmap::Clone() const {
    TPixmapRef copy = Create(width, height, format, 4);
    for (int32_t y = 0; y < height; ++y) CopyPixelRun(PixelAddress(0, y), copy->PixelAddress(0, y), format, width);
    return copy;
}

void TPixmap::Paste(const TPixmap& source, int32_t x, int32_t y) {
    if (!Inside(x, y, source.width, source.height, width, height))
        Fail("Paste outside the pixmap", "a paste of " + RectangleText(x, y, source.width, source.height, *this));
    for (int32_t i = 0; i < source.height; ++i)
        ConvertPixelRun(source.PixelAddress(0, i), source.format, PixelAddress(x, y + i), format, source.width);
}

TPixmapRef TPixmap::Convert(int32_t newFormat) const {
    TPixmapRef result = Create(width, height, newFormat, 4);
    result->Paste(*this, 0, 0);
    return result;
}

TArgb TPixmap::GetPixel(int32_t x, int32_t y) const {
    const uint8_t* p = PixelAddress(x, y);
    switch (format) {
    case FormatI8: return PackArgb(255, p[0], p[0], p[0]);
    case FormatA8: return PackArgb(p[0], 255, 255, 255);
    case FormatBGR888: return PackArgb(255, p[2], p[1], p[0]);
    case FormatRGB888: return PackArgb(255, p[0], p[1], p[2]);
    case FormatBGRA8888: return PackArgb(p[3], p[2], p[1], p[0]);
    case FormatRGBA8888: return PackArgb(p[3], p[0], p[1], p[2]);
    default: return 0;
    }
}

void TPixmap::SetPixel(int32_t x, int32_t y, TArgb argb) {
    uint8_t a = Component(argb, 24), r = Component(argb, 16), g = Component(argb, 8), b = Component(argb, 0);
    uint8_t* p = PixelAddress(x, y);
    switch (format) {
    case FormatI8: p[0] = static_cast<uint8_t>((r + g + b) / 3); break;
    case FormatA8: p[0] = a; break;
    case FormatBGR888: p[0] = b, p[1] = g, p[2] = r; break;
    case FormatRGB888: p[0] = r, p[1] = g, p[2] = b; break;
    case FormatBGRA8888: p[0] = b, p[1] = g, p[2] = r, p[3] = a; break;
    case FormatRGBA8888: p[0] = r, p[1] = g, p[2] = b, p[3] = a; break;
    default: break;
    }
}

TPixmapRef CreatePixmap(int32_t width, int32_t height, int32_t format, int32_t align) {
    return TPixmap::Create(width, height, format, align);
}

TPixmapRef WrapPixmap(void* pixels, int32_t width, int32_t height, int32_t pitch, int32_t format) {
    return TPixmap::Wrap(pixels, width, height, pitch, format);
}

// A missing pixmap (a picture that did not read) gives a missing result.
TPixmapRef ClonePixmap(const TPixmapRef& pixmap) { return pixmap ? pixmap->Clone() : nullptr; }
TPixmapRef ConvertPixmap(const TPixmapRef& pixmap, int32_t format) { return pixmap ? pixmap->Convert(format) : nullptr; }

TPixmapRef PixmapWindow(const TPixmapRef& pixmap, int32_t x, int32_t y, int32_t width, int32_t height) {
    return pixmap ? pixmap->SubPixmap(x, y, width, height) : nullptr;
}

uint8_t* PixmapPixelAddress(const TPixmapRef& pixmap, int32_t x, int32_t y) { return pixmap->PixelAddress(x, y); }
TArgb GetPixmapPixel(const TPixmapRef& pixmap, int32_t x, int32_t y) { return pixmap->GetPixel(x, y); }
void SetPixmapPixel(const TPixmapRef& pixmap, int32_t x, int32_t y, TArgb argb) { pixmap->SetPixel(x, y, argb); }
int32_t PixmapWidth(const TPixmapRef& pixmap) { return pixmap->width; }
int32_t PixmapHeight(const TPixmapRef& pixmap) { return pixmap->height; }
int32_t PixmapPitch(const TPixmapRef& pixmap) { return pixmap->pitch; }
int32_t PixmapFormat(const TPixmapRef& pixmap) { return pixmap->format; }

void InitPixmapModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitRuntimeModule();
}

}  // namespace vesk
