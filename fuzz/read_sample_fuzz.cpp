// ReadAudioSample over a memory buffer: every registered sample reader gets
// the same bytes from the start, through the buffer opener.
#include <vesk/audio/wav_reader.h>
#include "fuzz_input.h"
#include <vesk/stream/buffer.h>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vesk::InitWavModule();
    vesk::fuzz::HandSignalsToFuzzer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk;
    TBufferRef buffer = TMemoryBuffer::OverMemory(const_cast<uint8_t*>(data), static_cast<int32_t>(size));
    std::shared_ptr<TPcmSample> sample = ReadAudioSample(buffer);
    if (sample) {
        VESK_FUZZ_CHECK(sample->capacity == sample->length * BytesPerFrame(sample->format));
        VESK_FUZZ_CHECK(static_cast<size_t>(sample->capacity) <= size);
        // Converting to the mixer's layout reads every frame once.
        std::shared_ptr<TPcmSample> stereo = sample->Convert(SampleStereo16LE);
        VESK_FUZZ_CHECK(stereo->length == sample->length);
    }
    return 0;
}
