// Frame conversions. Every format converts to and from one hub, 16-bit
// stereo with the high byte first, so six formats need twelve small loops
// rather than thirty.
#include <vesk/audio/sample.h>

#include <vesk/runtime/failure.h>
#include "runtime/std_compat.h"

#include <memory>

namespace vesk {
namespace {

constexpr const char* kUnimplemented = "Unimplemented sample format conversion";

bool Known(int32_t format) { return format >= SampleMono8 && format <= SampleStereo16BE; }

int32_t Unsigned8ToSigned16(uint8_t value) { return value * 257 - 32768; }
uint8_t Signed16ToUnsigned8(int32_t value) { return static_cast<uint8_t>((value + 32768) / 257); }

int32_t ReadLE(const uint8_t* p) { return static_cast<int16_t>(p[0] | (p[1] << 8)); }
int32_t ReadBE(const uint8_t* p) { return static_cast<int16_t>((p[0] << 8) | p[1]); }
void WriteLE(uint8_t* p, int32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void WriteBE(uint8_t* p, int32_t v) {
    p[0] = static_cast<uint8_t>(v >> 8);
    p[1] = static_cast<uint8_t>(v);
}

// One source frame as left and right signed 16-bit values.
struct Frame {
    int32_t left, right;
};

Frame ReadFrame(const uint8_t* p, int32_t format) {
    switch (format) {
        case SampleMono8: return {Unsigned8ToSigned16(p[0]), Unsigned8ToSigned16(p[0])};
        case SampleMono16LE: return {ReadLE(p), ReadLE(p)};
        case SampleMono16BE: return {ReadBE(p), ReadBE(p)};
        case SampleStereo8: return {Unsigned8ToSigned16(p[0]), Unsigned8ToSigned16(p[1])};
        case SampleStereo16LE: return {ReadLE(p), ReadLE(p + 2)};
        default: return {ReadBE(p), ReadBE(p + 2)};
    }
}

void WriteFrame(uint8_t* p, int32_t format, Frame frame) {
    const int32_t mono = (frame.left + frame.right) / 2;
    switch (format) {
        case SampleMono8: p[0] = Signed16ToUnsigned8(mono); break;
        case SampleMono16LE: WriteLE(p, mono); break;
        case SampleMono16BE: WriteBE(p, mono); break;
        case SampleStereo8:
            p[0] = Signed16ToUnsigned8(frame.left);
            p[1] = Signed16ToUnsigned8(frame.right);
            break;
        case SampleStereo16LE:
            WriteLE(p, frame.left);
            WriteLE(p + 2, frame.right);
            break;
        default:
            WriteBE(p, frame.left);
            WriteBE(p + 2, frame.right);
            break;
    }
}

void ToHub(const uint8_t* source, int32_t format, uint8_t* hub, int32_t n) {
    const int32_t step = BytesPerFrame(format);
    for (int32_t i = 0; i < n; ++i, source += step, hub += 4) WriteFrame(hub, SampleStereo16BE, ReadFrame(source, format));
}

void FromHub(const uint8_t* hub, uint8_t* destination, int32_t format, int32_t n) {
    const int32_t step = BytesPerFrame(format);
    for (int32_t i = 0; i < n; ++i, hub += 4, destination += step) {
        WriteFrame(destination, format, ReadFrame(hub, SampleStereo16BE));
    }
}

}  // namespace

void ConvertFrames(const void* source, int32_t sourceFormat, void* destination, int32_t destinationFormat,
                   int32_t n) {
    if (sourceFormat == destinationFormat) return CopyFrames(source, destination, sourceFormat, n);
    // Checked before anything is written, so a refused conversion leaves the
    // destination untouched.
    if (!Known(sourceFormat) || !Known(destinationFormat)) Fail(kUnimplemented);
    if (n <= 0) return;
    const auto* from = static_cast<const uint8_t*>(source);
    auto* to = static_cast<uint8_t*>(destination);
    if (sourceFormat == SampleStereo16BE) return FromHub(from, to, destinationFormat, n);
    if (destinationFormat == SampleStereo16BE) return ToHub(from, sourceFormat, to, n);
    auto scratch = MakeUninitialisedArray<uint8_t>(static_cast<size_t>(n) * 4);
    ToHub(from, sourceFormat, scratch.get(), n);
    FromHub(scratch.get(), to, destinationFormat, n);
}

}  // namespace vesk
