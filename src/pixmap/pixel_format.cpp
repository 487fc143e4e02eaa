#include <vesk/pixmap/pixel_format.h>

#include "runtime/std_compat.h"

#include <cstring>
#include <memory>

namespace vesk {
namespace {

using Byte = uint8_t;

// Hub side: every RGBA run is 4 x n bytes R, G, B, A. The format switch sits
// outside the pixel loops so each loop stays a tight copy.
void ToRgba(const Byte* src, int32_t format, Byte* rgba, int32_t n) {
    switch (format) {
    case FormatI8:
        for (int32_t i = 0; i < n; ++i, rgba += 4) rgba[0] = rgba[1] = rgba[2] = src[i], rgba[3] = 255;
        break;
    case FormatA8:
        for (int32_t i = 0; i < n; ++i, rgba += 4) rgba[0] = rgba[1] = rgba[2] = 255, rgba[3] = src[i];
        break;
    case FormatBGR888:
        for (int32_t i = 0; i < n; ++i, rgba += 4, src += 3)
            rgba[0] = src[2], rgba[1] = src[1], rgba[2] = src[0], rgba[3] = 255;
        break;
    case FormatRGB888:
        for (int32_t i = 0; i < n; ++i, rgba += 4, src += 3)
            rgba[0] = src[0], rgba[1] = src[1], rgba[2] = src[2], rgba[3] = 255;
        break;
    case FormatBGRA8888:
        for (int32_t i = 0; i < n; ++i, rgba += 4, src += 4)
            rgba[0] = src[2], rgba[1] = src[1], rgba[2] = src[0], rgba[3] = src[3];
        break;
    case FormatRGBA8888:
        std::memmove(rgba, src, 4 * static_cast<size_t>(n));
        break;
    default:
        break;
    }
}

void FromRgba(const Byte* rgba, Byte* dst, int32_t format, int32_t n) {
    switch (format) {
    case FormatI8:
        for (int32_t i = 0; i < n; ++i, rgba += 4) dst[i] = static_cast<Byte>((rgba[0] + rgba[1] + rgba[2]) / 3);
        break;
    case FormatA8:
        for (int32_t i = 0; i < n; ++i, rgba += 4) dst[i] = rgba[3];
        break;
    case FormatBGR888:
        for (int32_t i = 0; i < n; ++i, rgba += 4, dst += 3) dst[0] = rgba[2], dst[1] = rgba[1], dst[2] = rgba[0];
        break;
    case FormatRGB888:
        for (int32_t i = 0; i < n; ++i, rgba += 4, dst += 3) dst[0] = rgba[0], dst[1] = rgba[1], dst[2] = rgba[2];
        break;
    case FormatBGRA8888:
        for (int32_t i = 0; i < n; ++i, rgba += 4, dst += 4)
            dst[0] = rgba[2], dst[1] = rgba[1], dst[2] = rgba[0], dst[3] = rgba[3];
        break;
    case FormatRGBA8888:
        std::memmove(dst, rgba, 4 * static_cast<size_t>(n));
        break;
    default:
        break;
    }
}

bool KnownFormat(int32_t format) { return FormatEntry(BytesPerPixel, format) > 0; }

}  // namespace

void CopyPixelRun(const void* src, void* dst, int32_t format, int32_t n) {
    size_t bytes = n > 0 ? static_cast<size_t>(n) * FormatEntry(BytesPerPixel, format) : 0;
    if (bytes > 0) std::memmove(dst, src, bytes);
}

void ConvertPixelRun(const void* src, int32_t srcFormat, void* dst, int32_t dstFormat, int32_t n) {
    auto in = static_cast<const Byte*>(src);
    auto out = static_cast<Byte*>(dst);
    if (n <= 0) return;
    if (srcFormat == dstFormat) {
        CopyPixelRun(in, out, srcFormat, n);
    } else if (srcFormat == FormatRGBA8888) {
        FromRgba(in, out, dstFormat, n);
    } else if (dstFormat == FormatRGBA8888) {
        ToRgba(in, srcFormat, out, n);
    } else if (KnownFormat(srcFormat) && KnownFormat(dstFormat)) {
        // Neither side is the hub: go through a fresh RGBA run.
        auto scratch = MakeUninitialisedArray<Byte>(4 * static_cast<size_t>(n));
        ToRgba(in, srcFormat, scratch.get(), n);
        FromRgba(scratch.get(), out, dstFormat, n);
    }
}

}  // namespace vesk
