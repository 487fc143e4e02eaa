// The registry of sample readers. A reader links itself at the head of one
// process-wide list when it is made, so the one made last is tried first;
// readers are never removed. A reader declines a stream by returning null or
// by letting a stream failure escape.
#pragma once

#include <vesk/audio/sample.h>
#include <vesk/stream/opening.h>
#include <vesk/stream/registry.h>

#include <memory>

namespace vesk {

class TPcmSampleReader : public TRegistry<TPcmSampleReader> {
public:
    TPcmSampleReader() = default;
    virtual ~TPcmSampleReader() = default;

    // The sample the stream holds, or null when this reader does not know it.
    virtual std::shared_ptr<TPcmSample> Decode(TByteStream& stream) = 0;
};

// The first reader of the list, or null.
TPcmSampleReader* FirstSampleReader();

// Reads a sample from a name or a stream, offering it to every reader in
// turn from the same start. Null when it does not open or no reader takes
// it; raises "Stream is not seekable" when the readers cannot be given the
// same start.
std::shared_ptr<TPcmSample> ReadAudioSample(const TUrl& url);

// The sample module's once-only initialiser.
void InitAudioSampleModule();

}  // namespace vesk
