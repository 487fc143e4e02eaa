// Loading pictures: one entry point, ReadPixmap, opens a source once and
// offers it to every registered pixmap reader in turn until one returns a
// pixmap. Each file-format module makes one reader at start-up; the reader
// made last is asked first. A reader declines by returning null or by
// letting a stream failure escape; the stream is moved back to its start
// before the next reader is asked.
#pragma once

#include <vesk/pixmap/pixmap.h>
#include <vesk/stream/registry.h>
#include <vesk/stream/stream.h>
#include <vesk/stream/url.h>

namespace vesk {

class TPixmapReader : public TRegistry<TPixmapReader> {
public:
    // Links the new reader at the head of the registry for the rest of the
    // process; readers are never removed, so they must live that long.
    TPixmapReader() = default;
    virtual ~TPixmapReader() = default;

    // A pixmap, or null to decline. The base has no format to decode and
    // raises a failure.
    virtual TPixmapRef Decode(const TStreamRef& stream);
};

// The reader asked first, or null before any reader exists.
TPixmapReader* FirstPixmapReader();

// Decodes a picture from a name ("incbin::\basic\fontjap2.tga", a file path)
// or an open stream (left open). Null when the source does not open, cannot
// seek, or no reader accepts it; failures other than stream failures pass
// through.
TPixmapRef ReadPixmap(const TUrl& url);

}  // namespace vesk
