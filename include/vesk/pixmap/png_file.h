// PNG files through libpng: the reader turns 8-bit grey, grey-with-alpha,
// RGB and RGB-with-alpha images (after libpng has expanded palettes, low bit
// depths and transparency, and cut 16-bit samples to 8) into pixmaps; the writer stores
// any pixmap as an 8-bit PNG. The recording build writes one per frame.
//
// Both run through one module-wide current stream that libpng's data
// callbacks use, so only one PNG operation may run at a time.
#pragma once

#include <vesk/pixmap/pixmap_reader.h>

namespace vesk {

// The registered reader: asked after the TGA reader.
class TPngReader : public TPixmapReader {
public:
    TPixmapRef Decode(const TStreamRef& stream) override;
};

// A pixmap (FormatI8, FormatRGB888 or FormatRGBA8888; grey with alpha reads
// as FormatRGBA8888 with the grey in all three colours), or null when the
// source does not open, is not a PNG, is damaged, or is too large for a
// pixmap. Stream failures propagate, after libpng's state has been released.
TPixmapRef ReadPng(const TUrl& url);

// Writes the pixmap with the given zlib level (0 to 9, passed on unchanged).
// 1 when written; 0 when the destination does not open or libpng refuses the
// image. Stream failures propagate, after libpng's state has been released;
// a file's failure carries the system's reason. A file this call made and
// could not finish is removed; one that was there before stays.
int WritePng(const TPixmapRef& pixmap, const TUrl& url, int level);

// The stream libpng's callbacks use; null between operations.
const TStreamRef& CurrentPngStream();

// The PNG module's once-only initialiser: makes and registers the PNG reader.
void InitPngModule();

}  // namespace vesk
