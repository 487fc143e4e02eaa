#include <vesk/audio/wav_reader.h>

#include "audio/wav_layout.h"

#include <algorithm>
#include <limits>

namespace vesk {
namespace {

struct WavFormat {
    int32_t chunkSize;
    int32_t audioFormat;
    int32_t channels;
    int32_t rate;
    int32_t bits;
};

WavFormat ReadFormatChunk(TByteStream& stream) {
    WavFormat format{};
    format.chunkSize = stream.ReadI32();
    format.audioFormat = stream.ReadU16();
    format.channels = stream.ReadU16();
    format.rate = stream.ReadI32();
    stream.ReadI32();  // byte rate
    stream.ReadU16();  // block align
    format.bits = stream.ReadU16();
    return format;
}

int32_t SampleFormatOf(int32_t bits, int32_t channels) {
    if (bits == 8 && channels == 1) return SampleMono8;
    if (bits == 8 && channels == 2) return SampleStereo8;
    if (bits == 16 && channels == 1) return SampleMono16LE;
    if (bits == 16 && channels == 2) return SampleStereo16LE;
    return SampleNone;
}

// Chunk sizes are unsigned 32-bit; the stream counts in signed 32 bits.
int32_t ReadChunkSize(TByteStream& stream) {
    const uint32_t size = static_cast<uint32_t>(stream.ReadI32());
    return static_cast<int32_t>(std::min<uint32_t>(size, std::numeric_limits<int32_t>::max()));
}

// A stream that knows its size cannot deliver more than what lies after the
// position; a data size beyond that is not allocated for.
int32_t Deliverable(TByteStream& stream, int32_t size) {
    const int32_t position = stream.Position();
    if (position < 0) return size;
    return std::clamp(stream.Size() - position, 0, size);
}


bool IsChunkId(const uint8_t* id) {
    for (int i = 0; i < 4; ++i)
        if (id[i] < 0x20 || id[i] > 0x7E) return false;
    return true;
}

// RIFF pads an odd-sized chunk with one zero byte. Some writers leave the pad
// out, so the byte is taken as a pad only when it is zero and a chunk id of
// four printable characters follows it; otherwise reading goes on from it.
void SkipPadByte(TByteStream& stream) {
    const int32_t start = stream.Position();
    uint8_t bytes[5] = {1, 0, 0, 0, 0};
    stream.ReadExact(bytes, 5);
    const bool whole = stream.Position() - start == 5;
    stream.Seek(start + (whole && bytes[0] == 0 && IsChunkId(bytes + 1) ? 1 : 0));
}

void SkipChunk(TByteStream& stream) {
    const int32_t size = ReadChunkSize(stream);
    stream.Skip(size);
    if (size % 2 != 0) SkipPadByte(stream);
}

}  // namespace

Text ReadChunkTag(TByteStream& stream) {
    char bytes[4] = {};
    if (stream.ReadExact(bytes, 4) != 4) return Text();
    return BytesToText(std::string_view(bytes, 4));
}

bool ReadWavLayout(TByteStream& stream, TWavLayout& layout) {
    if (ReadChunkTag(stream) != u"RIFF") return false;
    stream.ReadI32();  // RIFF size
    if (ReadChunkTag(stream) != u"WAVE") return false;
    if (ReadChunkTag(stream) != u"fmt ") return false;
    const WavFormat wav = ReadFormatChunk(stream);
    if (wav.audioFormat != 1) return false;
    const int32_t format = SampleFormatOf(wav.bits, wav.channels);
    if (format == SampleNone) return false;
    if (wav.chunkSize > 16) stream.Skip(wav.chunkSize - 16);
    while (!stream.AtEnd()) {
        if (ReadChunkTag(stream) == u"data") {
            const int32_t declared = ReadChunkSize(stream);
            layout = {format, wav.rate, Deliverable(stream, declared), stream.Position()};
            return true;
        }
        SkipChunk(stream);
    }
    return false;
}

// The sample holds the whole frames only; a partial frame at the end of the
// chunk is read past and dropped, never written beyond the sample.
std::shared_ptr<TPcmSample> TWavReader::Decode(TByteStream& stream) {
    TWavLayout layout;
    if (!ReadWavLayout(stream, layout)) return nullptr;
    auto sample = TPcmSample::Create(layout.dataBytes / BytesPerFrame(layout.format), layout.rate, layout.format);
    stream.ReadExact(sample->samples, sample->capacity);
    stream.Skip(layout.dataBytes - sample->capacity);
    return sample;
}

void InitWavModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitAudioSampleModule();
    // Readers are never removed, so this one lives as long as the process.
    new TWavReader();
}

}  // namespace vesk
