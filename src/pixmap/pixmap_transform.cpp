// Whole-pixmap transforms: bilinear scaling, colour masking and mirroring.
// Each works one row at a time so source and result may differ in pitch.
#include <vesk/pixmap/pixmap.h>
#include <vesk/runtime/failure.h>
#include "runtime/std_compat.h"

#include <climits>
#include <cmath>
#include <memory>
#include <string>

namespace vesk {
namespace {

TPixmapRef AsRgba(const TPixmapRef& pixmap) {
    return pixmap->format == FormatRGBA8888 ? pixmap : pixmap->Convert(FormatRGBA8888);
}

// One sampling position along an axis: the integer cell, the fraction toward
// the next cell and the byte step to it. At either edge the step is 0 and the
// fraction 0, so the edge pixel is repeated instead of reading outside.
struct TSample {
    int32_t index;
    float fraction;
    int32_t step;
};

TSample SampleAt(int32_t out, float scale, int32_t size, int32_t step) {
    float f = (static_cast<float>(out) + 0.5f) * scale - 0.5f;
    int32_t index = static_cast<int32_t>(std::floor(f));
    float fraction = f - static_cast<float>(index);
    if (index < 0) return {0, 0.0f, 0};
    if (index >= size - 1) return {size - 1, 0.0f, 0};
    return {index, fraction, step};
}

void ScaleRow(const TPixmap& src, const TSample& sy, float xs, int32_t width, uint8_t* out) {
    const uint8_t* row = src.PixelAddress(0, sy.index);
    for (int32_t x = 0; x < width; ++x, out += 4) {
        TSample sx = SampleAt(x, xs, src.width, 4);
        const uint8_t* p = row + 4 * sx.index;
        for (int k = 0; k < 4; ++k) {
            float here = p[k], right = p[k + sx.step];
            float below = p[k + sy.step], diagonal = p[k + sy.step + sx.step];
            float top = here + (right - here) * sx.fraction;
            float bottom = below + (diagonal - below) * sx.fraction;
            out[k] = static_cast<uint8_t>(top + (bottom - top) * sy.fraction);
        }
    }
}

bool IsMaskColour(const uint8_t* p, int red, int green, int blue) {
    return p[0] == red && p[1] == green && p[2] == blue;
}

// A masked pixel takes the average colour of its non-mask neighbours, read
// from the source only, so filled colours never spread further.
void FillMaskedPixel(const TPixmap& src, int32_t x, int32_t y, int red, int green, int blue, uint8_t* out) {
    int sum[3] = {0, 0, 0}, count = 0;
    for (int32_t ny = y - 1; ny <= y + 1; ++ny) {
        for (int32_t nx = x - 1; nx <= x + 1; ++nx) {
            if (nx < 0 || ny < 0 || nx >= src.width || ny >= src.height) continue;
            const uint8_t* p = src.PixelAddress(nx, ny);
            if (IsMaskColour(p, red, green, blue)) continue;
            for (int k = 0; k < 3; ++k) sum[k] += p[k];
            ++count;
        }
    }
    for (int k = 0; k < 3; ++k) out[k] = static_cast<uint8_t>(count ? sum[k] / count : 0);
    out[3] = 0;
}

// Sampling needs a pixel to start from, and the result at least one to hold.
void CheckScaleSizes(const TPixmap& pixmap, int32_t newWidth, int32_t newHeight) {
    auto size = [](int32_t w, int32_t h) { return std::to_string(w) + " x " + std::to_string(h); };
    if (newWidth < 1 || newHeight < 1)
        Fail("Invalid pixmap size", "scaling to " + size(newWidth, newHeight) + " pixels: sizes must be at least 1");
    // Rows are resampled through FormatRGBA8888, whatever the formats.
    if (int64_t{newWidth} * 4 > INT32_MAX)
        Fail("Invalid pixmap size", "scaling to " + size(newWidth, newHeight) +
                                        " pixels: a row of four bytes a pixel would not fit a pixmap");
    if (pixmap.width < 1 || pixmap.height < 1)
        Fail("Invalid pixmap size", "an empty pixmap (" + size(pixmap.width, pixmap.height) + " pixels) cannot be scaled");
}

}  // namespace

// Each of these gives null for a missing pixmap, as a picture that did not
// read leaves one.
TPixmapRef ScalePixmap(const TPixmapRef& pixmap, int32_t newWidth, int32_t newHeight) {
    if (!pixmap) return nullptr;
    CheckScaleSizes(*pixmap, newWidth, newHeight);
    TPixmapRef src = AsRgba(pixmap);
    TPixmapRef result = TPixmap::Create(newWidth, newHeight, pixmap->format, 4);
    auto scratch = MakeUninitialisedArray<uint8_t>(4 * static_cast<size_t>(newWidth));
    float xs = static_cast<float>(src->width) / static_cast<float>(newWidth);
    float ys = static_cast<float>(src->height) / static_cast<float>(newHeight);
    for (int32_t y = 0; y < newHeight; ++y) {
        ScaleRow(*src, SampleAt(y, ys, src->height, src->pitch), xs, newWidth, scratch.get());
        ConvertPixelRun(scratch.get(), FormatRGBA8888, result->PixelAddress(0, y), result->format, newWidth);
    }
    return result;
}

TPixmapRef MaskColourToAlpha(const TPixmapRef& pixmap, int red, int green, int blue) {
    if (!pixmap) return nullptr;
    TPixmapRef src = AsRgba(pixmap);
    TPixmapRef result = TPixmap::Create(src->width, src->height, FormatRGBA8888, 4);
    for (int32_t y = 0; y < src->height; ++y) {
        for (int32_t x = 0; x < src->width; ++x) {
            const uint8_t* p = src->PixelAddress(x, y);
            uint8_t* out = result->PixelAddress(x, y);
            if (IsMaskColour(p, red, green, blue)) {
                FillMaskedPixel(*src, x, y, red, green, blue, out);
            } else {
                out[0] = p[0], out[1] = p[1], out[2] = p[2], out[3] = 255;
            }
        }
    }
    return result;
}

TPixmapRef MirrorPixmapX(const TPixmapRef& pixmap) {
    if (!pixmap) return nullptr;
    TPixmapRef result = TPixmap::Create(pixmap->width, pixmap->height, pixmap->format, 4);
    for (int32_t y = 0; y < pixmap->height; ++y)
        for (int32_t i = 0; i < pixmap->width; ++i)
            CopyPixelRun(pixmap->PixelAddress(pixmap->width - 1 - i, y), result->PixelAddress(i, y), pixmap->format, 1);
    return result;
}

TPixmapRef MirrorPixmapY(const TPixmapRef& pixmap) {
    if (!pixmap) return nullptr;
    TPixmapRef result = TPixmap::Create(pixmap->width, pixmap->height, pixmap->format, 4);
    for (int32_t i = 0; i < pixmap->height; ++i)
        CopyPixelRun(pixmap->PixelAddress(0, pixmap->height - 1 - i), result->PixelAddress(0, i), pixmap->format, pixmap->width);
    return result;
}

}  // namespace vesk
