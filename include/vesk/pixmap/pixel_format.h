// Pixel formats and pixel runs. A pixmap stores one of six 8-bit-per-channel
// layouts; every conversion between two of them passes through the hub
// format FormatRGBA8888, so only one routine per direction exists for each
// format and equal formats become a plain block copy.
#pragma once

#include <array>
#include <cstdint>

namespace vesk {

// Format values; 0 means no format.
inline constexpr int32_t FormatNone = 0;
inline constexpr int32_t FormatI8 = 1;
inline constexpr int32_t FormatA8 = 2;
inline constexpr int32_t FormatBGR888 = 3;
inline constexpr int32_t FormatRGB888 = 4;
inline constexpr int32_t FormatBGRA8888 = 5;
inline constexpr int32_t FormatRGBA8888 = 6;

inline constexpr int32_t kFormatCount = 7;
using TFormatTable = std::array<int32_t, kFormatCount>;

// Read-only tables indexed by format value 0 to 6. FormatI8 deliberately has
// no red, green or blue bits: only AlphaBits tells loaders whether a pixmap
// carries transparency.
inline constexpr TFormatTable BytesPerPixel{0, 1, 1, 3, 3, 4, 4};
inline constexpr TFormatTable BitsPerPixel{0, 8, 8, 24, 24, 32, 32};
inline constexpr TFormatTable RedBits{0, 0, 0, 8, 8, 8, 8};
inline constexpr TFormatTable GreenBits{0, 0, 0, 8, 8, 8, 8};
inline constexpr TFormatTable BlueBits{0, 0, 0, 8, 8, 8, 8};
inline constexpr TFormatTable AlphaBits{0, 0, 8, 0, 0, 8, 8};

// Looks a format up in a table; values outside 0 to 6 read as 0, so a stray
// format makes every size and address computation move nothing.
inline int32_t FormatEntry(const TFormatTable& table, int32_t format) {
    return format >= 0 && format < kFormatCount ? table[format] : 0;
}

// Copies n pixels of one format: n x BytesPerPixel[format] bytes.
void CopyPixelRun(const void* src, void* dst, int32_t format, int32_t n);

// Converts n pixels from srcFormat to dstFormat through FormatRGBA8888. Only
// a conversion between two non-hub formats needs a scratch run.
void ConvertPixelRun(const void* src, int32_t srcFormat, void* dst, int32_t dstFormat, int32_t n);

}  // namespace vesk
