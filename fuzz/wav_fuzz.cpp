// The WAV reader on arbitrary bytes: whatever sizes the chunks declare, the
// sample it returns holds exactly its frames and nothing is allocated beyond
// what the input can fill.
#include <vesk/audio/wav_reader.h>
#include "fuzz_input.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vesk::InitAudioSampleModule();
    vesk::fuzz::HandSignalsToFuzzer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk;
    static TWavReader* reader = new TWavReader;  // readers stay registered for good
    auto stream = fuzz::InputStream(data, size);
    try {
        std::shared_ptr<TPcmSample> sample = reader->Decode(*stream);
        if (sample) {
            VESK_FUZZ_CHECK(sample->length >= 0);
            VESK_FUZZ_CHECK(sample->capacity == sample->length * BytesPerFrame(sample->format));
            VESK_FUZZ_CHECK(static_cast<size_t>(sample->capacity) <= size);
            unsigned sum = 0;
            for (int32_t i = 0; i < sample->capacity; ++i) sum += sample->samples[i];
            fuzz::Consume(sum);
        }
    } catch (const TStreamError&) {
    }
    return 0;
}
