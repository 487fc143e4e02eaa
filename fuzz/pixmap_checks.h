// What every decoded pixmap must satisfy, whichever reader made it.
#pragma once

#include "fuzz_input.h"
#include <vesk/pixmap/pixel_format.h>
#include <vesk/pixmap/pixmap.h>

namespace vesk::fuzz {

// Touches every byte of every row, so that a pixmap whose size and pitch
// disagree with its memory shows up under AddressSanitizer.
inline void CheckPixmap(const TPixmapRef& pixmap) {
    if (!pixmap) return;
    VESK_FUZZ_CHECK(pixmap->width >= 1 && pixmap->height >= 1);
    VESK_FUZZ_CHECK(pixmap->pitch >= pixmap->width * FormatEntry(BytesPerPixel, pixmap->format));
    VESK_FUZZ_CHECK(pixmap->capacity >= pixmap->pitch * pixmap->height);
    unsigned sum = 0;
    const int32_t rowBytes = pixmap->width * FormatEntry(BytesPerPixel, pixmap->format);
    for (int32_t y = 0; y < pixmap->height; ++y) {
        const uint8_t* row = pixmap->PixelAddress(0, y);
        for (int32_t i = 0; i < rowBytes; ++i) sum += row[i];
    }
    Consume(sum);
}

}  // namespace vesk::fuzz
