// The TGA reader: true-colour pictures of 15, 16, 24 and 32 bits, raw or
// run-length coded, as the engine's own tools store them (the intro's
// picture and font sheet are such files). The descriptor byte's origin bits
// say where the first stored pixel belongs: rows run bottom-up unless bit 5
// says top-down, pixels left to right unless bit 4 says right to left.
#pragma once

#include <vesk/pixmap/pixmap_reader.h>

#include <cstdint>

namespace vesk {

// The 18-byte file header, field by field in file order.
struct TTgaHeader {
    uint8_t idLength = 0;
    uint8_t colourMapType = 0;
    uint8_t imageType = 0;
    uint16_t colourMapStart = 0;
    uint16_t colourMapLength = 0;
    uint8_t colourMapDepth = 0;
    uint16_t xOrigin = 0;
    uint16_t yOrigin = 0;
    uint16_t width = 0;
    uint16_t height = 0;
    uint8_t pixelDepth = 0;
    uint8_t descriptor = 0;
};

// Origin bits of the descriptor.
inline constexpr uint8_t kTgaRightToLeft = 0x10;
inline constexpr uint8_t kTgaTopDown = 0x20;

class TTgaReader : public TPixmapReader {
public:
    TPixmapRef Decode(const TStreamRef& stream) override;
};

// The decoder behind TTgaReader, usable without making (and so registering)
// a reader: a pixmap, or null when the header is not one it decodes.
TPixmapRef DecodeTga(TByteStream& stream);

// Reads the header fields from the stream's current position.
TTgaHeader ReadTgaHeader(TByteStream& stream);
// Whether this reader decodes files with that header.
bool AcceptTgaHeader(const TTgaHeader& header);

// The TGA module's once-only initialiser: makes the TGA reader. It runs the
// PNG module's first, so that the TGA reader is asked before the PNG reader.
void InitTgaModule();

}  // namespace vesk
