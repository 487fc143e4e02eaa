// Where a WAV file's frames lie: what the reader finds before the data
// chunk's bytes. Shared by the reader, which reads the data at once, and by
// the streamed source, which reads it in blocks.
#pragma once

#include <vesk/stream/stream.h>

#include <cstdint>

namespace vesk {

struct TWavLayout {
    int32_t format = 0;     // one of the four file-order sample formats
    int32_t rate = 0;       // frames per second
    int32_t dataBytes = 0;  // the data chunk's size, cut to what the stream holds
    int32_t dataStart = 0;  // the stream position of its first byte (-1: cannot seek)
};

// Reads up to the data chunk's first byte; false when the stream is no WAV
// file of the kinds the reader knows. A stream failure escapes.
bool ReadWavLayout(TByteStream& stream, TWavLayout& layout);

}  // namespace vesk
