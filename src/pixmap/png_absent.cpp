// PNG files in a build without libpng (the web and Windows builds): nothing is a PNG. The
// reader declines every source, reading gives null, writing gives 0 and
// touches nothing, and the module registers no reader, so programs that use
// the PNG calls still build and the TGA reader works as everywhere.
#include <vesk/pixmap/png_file.h>

#include <vesk/stream/opening.h>

namespace vesk {

TPixmapRef TPngReader::Decode(const TStreamRef&) { return nullptr; }

TPixmapRef ReadPng(const TUrl&) { return nullptr; }

int WritePng(const TPixmapRef&, const TUrl&, int) { return 0; }

const TStreamRef& CurrentPngStream() {
    static const TStreamRef none;
    return none;
}

void InitPngModule() {
    InitPixmapModule();
    InitStreamModule();
}

}  // namespace vesk
