#include "pixmap/pixmap_reader.h"

#include "runtime/failure.h"
#include "stream/opening.h"

namespace vesk {
namespace {

TPixmapReader* registryHead = nullptr;

// A stream failure inside a reader is that reader's decline; anything else
// is a real fault and goes to the caller.
TPixmapRef TryReader(TPixmapReader& reader, const TStreamRef& stream) {
    try {
        return reader.Decode(stream);
    } catch (const TStreamError&) {
        return nullptr;
    }
}

}  // namespace

TPixmapReader::TPixmapReader() : next_(registryHead) { registryHead = this; }

TPixmapRef TPixmapReader::Decode(const TStreamRef&) { Fail("Abstract method called"); }

TPixmapReader* FirstPixmapReader() { return registryHead; }

TPixmapRef ReadPixmap(const TUrl& url) {
    TStreamRef stream = OpenForReading(url);
    if (!stream) return nullptr;
    int32_t start = stream->Position();
    if (start == -1) {
        stream->Close();
        return nullptr;
    }
    TPixmapRef result;
    try {
        for (TPixmapReader* reader = registryHead; reader && !result; reader = reader->Next()) {
            stream->Seek(start);
            result = TryReader(*reader, stream);
        }
    } catch (...) {
        // A reader's fault still goes to the caller, but a file opened here
        // by name would otherwise stay open for the rest of the process.
        stream->Close();
        throw;
    }
    stream->Close();
    return result;
}

}  // namespace vesk
