// The WAV reader: RIFF WAVE files holding uncompressed 8- or 16-bit PCM,
// mono or stereo. The file's bytes are kept as they are, so the sample comes
// out in one of the four file-order formats.
#pragma once

#include <vesk/audio/sample_reader.h>
#include <vesk/runtime/text.h>

namespace vesk {

class TWavReader : public TPcmSampleReader {
public:
    std::shared_ptr<TPcmSample> Decode(TByteStream& stream) override;
};

// Four bytes as a four-character text, one character per byte; empty when
// the stream did not deliver four bytes.
Text ReadChunkTag(TByteStream& stream);

// Registers the WAV reader (once), after the sample module.
void InitWavModule();

}  // namespace vesk
