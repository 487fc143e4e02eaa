#include <vesk/audio/sample.h>

#include <vesk/runtime/failure.h>
#include "runtime/std_compat.h"

#include <array>
#include <cstring>
#include <limits>
#include <string>

namespace vesk {
namespace {

// Indexed by format value.
constexpr std::array<int32_t, 7> kBytesPerFrame = {0, 1, 2, 2, 2, 4, 4};

void CheckLength(int32_t length) {
    if (length < 0)
        Fail("Invalid sample length", "a sample of " + std::to_string(length) + " frames: the length cannot be negative");
}

// The byte count of n frames; a size the 32-bit capacity cannot count is
// refused before anything is allocated.
int32_t ByteCount(int32_t n, int32_t format) {
    const int64_t bytes = int64_t{n} * BytesPerFrame(format);
    if (bytes > std::numeric_limits<int32_t>::max())
        Fail("Invalid sample length", std::to_string(n) + " frames of " + std::to_string(BytesPerFrame(format)) +
                                          " bytes take more than a sample can hold");
    return static_cast<int32_t>(bytes);
}

}  // namespace

int32_t BytesPerFrame(int32_t format) {
    if (format < 0 || format >= static_cast<int32_t>(kBytesPerFrame.size())) return 0;
    return kBytesPerFrame[format];
}

std::shared_ptr<TPcmSample> TPcmSample::Create(int32_t length, int32_t hertz, int32_t format) {
    CheckLength(length);
    auto sample = std::make_shared<TPcmSample>();
    sample->length = length;
    sample->hertz = hertz;
    sample->format = format;
    sample->capacity = ByteCount(sample->length, format);
    sample->owned_ = MakeUninitialisedArray<uint8_t>(static_cast<size_t>(sample->capacity));
    sample->samples = sample->owned_.get();
    return sample;
}

std::shared_ptr<TPcmSample> TPcmSample::Wrap(void* samples, int32_t length, int32_t hertz, int32_t format) {
    CheckLength(length);
    auto sample = std::make_shared<TPcmSample>();
    sample->samples = static_cast<uint8_t*>(samples);
    sample->length = length;
    sample->hertz = hertz;
    sample->format = format;
    sample->capacity = -1;
    return sample;
}

std::shared_ptr<TPcmSample> TPcmSample::Copy() const {
    auto copy = Create(length, hertz, format);
    CopyFrames(samples, copy->samples, format, copy->length);
    return copy;
}

std::shared_ptr<TPcmSample> TPcmSample::Convert(int32_t newFormat) const {
    auto converted = Create(length, hertz, newFormat);
    ConvertFrames(samples, format, converted->samples, newFormat, converted->length);
    return converted;
}

void CopyFrames(const void* source, void* destination, int32_t format, int32_t n) {
    if (n <= 0) return;
    std::memcpy(destination, source, static_cast<size_t>(ByteCount(n, format)));
}

std::shared_ptr<TPcmSample> CreateSample(int32_t length, int32_t hertz, int32_t format) {
    return TPcmSample::Create(length, hertz, format);
}

std::shared_ptr<TPcmSample> WrapSample(void* samples, int32_t length, int32_t hertz, int32_t format) {
    return TPcmSample::Wrap(samples, length, hertz, format);
}

}  // namespace vesk
