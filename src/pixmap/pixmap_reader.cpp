#include <vesk/pixmap/pixmap_reader.h>

#include <vesk/runtime/failure.h>
#include <vesk/stream/opening.h>

namespace vesk {

TPixmapRef TPixmapReader::Decode(const TStreamRef&) { Fail("Abstract method called"); }

TPixmapReader* FirstPixmapReader() { return TPixmapReader::First(); }

TPixmapRef ReadPixmap(const TUrl& url) {
    TStreamRef stream = OpenForReading(url);
    if (!stream) return nullptr;
    const int32_t start = stream->Position();
    if (start == -1) {
        stream->Close();
        return nullptr;
    }
    return OfferToReaders<TPixmapReader>(stream, start,
                                         [&](TPixmapReader& reader) { return reader.Decode(stream); });
}

}  // namespace vesk
