#include <vesk/audio/sample_reader.h>

#include <vesk/runtime/failure.h>
#include <vesk/runtime/startup.h>

namespace vesk {

TPcmSampleReader* FirstSampleReader() { return TPcmSampleReader::First(); }

std::shared_ptr<TPcmSample> ReadAudioSample(const TUrl& url) {
    TStreamRef stream = OpenForReading(url);
    if (!stream) return nullptr;
    const int32_t start = stream->Position();
    if (start == -1) {
        stream->Close();
        Fail("Stream is not seekable");
    }
    return OfferToReaders<TPcmSampleReader>(stream, start,
                                            [&](TPcmSampleReader& reader) { return reader.Decode(*stream); });
}

void InitAudioSampleModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitRuntimeModule();
    InitStreamModule();
}

}  // namespace vesk
