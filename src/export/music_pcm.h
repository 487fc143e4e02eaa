// The intro's music as the raw PCM that goes to the encoder beside the
// pictures: 16-bit little-endian stereo, cut to the show frames exported, so
// that the sound of frame n starts at n/50 s just as the picture does.
#pragma once

#include <vesk/audio/sample.h>

#include <cstddef>
#include <cstdint>
#include <memory>

namespace vesk {

// Show time per exported frame, as the recording build renders it.
inline constexpr int32_t kExportFramesPerSecond = 50;

struct TMusicPcm {
    std::shared_ptr<TPcmSample> sample;  // SampleStereo16LE

    int32_t Hertz() const { return sample->hertz; }
    // Show frames needed to cover the whole music, the last one partly.
    int32_t ShowFrames() const;
};

struct TByteSpan {
    const uint8_t* data = nullptr;
    size_t size = 0;
};

// Show frames covering `audioFrames` at `hertz`, rounded up: 13046 for the
// intro's 11506008 frames at 44100 Hz.
int32_t ShowFramesCovering(int64_t audioFrames, int32_t hertz);

// Reads the embedded track; raises TExportError when it does not decode.
TMusicPcm ReadIntroMusic();

// The bytes that sound during show frames [first, end), clipped to the music.
TByteSpan MusicBytesForFrames(const TMusicPcm& music, int32_t first, int32_t end);

}  // namespace vesk
