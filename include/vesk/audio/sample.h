// Audio samples: blocks of PCM frames in memory with a frame count, a rate
// and one of six sample formats. Readers produce them; sounds are made from
// them after conversion to the mixer's format. Every conversion passes
// through 16-bit stereo, high byte first.
#pragma once

#include <vesk/stream/object.h>

#include <cstdint>
#include <memory>

namespace vesk {

// 8-bit samples are unsigned with silence at 128, 16-bit ones signed with
// silence at 0; stereo frames hold the left sample first.
enum SampleFormat : int32_t {
    SampleNone = 0,
    SampleMono8 = 1,
    SampleMono16LE = 2,
    SampleMono16BE = 3,
    SampleStereo8 = 4,
    SampleStereo16LE = 5,
    SampleStereo16BE = 6,
};

// Bytes per frame of a format; 0 for a value outside the table.
int32_t BytesPerFrame(int32_t format);

class TPcmSample : public TObject {
public:
    // An owning sample of length × BytesPerFrame (format) bytes, not cleared.
    // A negative length, or one whose bytes a 32-bit capacity cannot count,
    // raises "Invalid sample length".
    static std::shared_ptr<TPcmSample> Create(int32_t length, int32_t hertz, int32_t format);
    // A sample over memory that belongs to someone else (capacity -1); a
    // negative length raises "Invalid sample length".
    static std::shared_ptr<TPcmSample> Wrap(void* samples, int32_t length, int32_t hertz, int32_t format);

    // A new owning sample with the same frames.
    std::shared_ptr<TPcmSample> Copy() const;
    // A new owning sample with the frames in another format; the same format
    // gives an independent copy.
    std::shared_ptr<TPcmSample> Convert(int32_t format) const;

    uint8_t* samples = nullptr;  // first byte of frame 0
    int32_t length = 0;          // frames
    int32_t hertz = 0;           // frames per second
    int32_t format = SampleNone;
    int32_t capacity = -1;  // bytes owned, or -1 when the memory is borrowed

private:
    std::unique_ptr<uint8_t[]> owned_;
};

// Copies n frames of the given format.
void CopyFrames(const void* source, void* destination, int32_t format, int32_t n);
// Converts n frames; raises "Unimplemented sample format conversion" for a
// format value outside 1 to 6 when the formats differ.
void ConvertFrames(const void* source, int32_t sourceFormat, void* destination, int32_t destinationFormat,
                   int32_t n);

// The public surface for making samples.
std::shared_ptr<TPcmSample> CreateSample(int32_t length, int32_t hertz, int32_t format);
std::shared_ptr<TPcmSample> WrapSample(void* samples, int32_t length, int32_t hertz, int32_t format);

}  // namespace vesk
