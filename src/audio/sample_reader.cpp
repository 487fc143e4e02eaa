#include "audio/sample_reader.h"

#include "runtime/failure.h"
#include "runtime/startup.h"

namespace vesk {
namespace {

TPcmSampleReader* head = nullptr;

// A stream failure inside a reader only means that this reader does not
// understand the data; anything else is a real failure and passes through.
std::shared_ptr<TPcmSample> TryReader(TPcmSampleReader& reader, TByteStream& stream, int32_t start) {
    stream.Seek(start);
    try {
        return reader.Decode(stream);
    } catch (const TStreamError&) {
        return nullptr;
    }
}

}  // namespace

TPcmSampleReader::TPcmSampleReader() : next(head) { head = this; }

TPcmSampleReader* FirstSampleReader() { return head; }

std::shared_ptr<TPcmSample> ReadAudioSample(const TUrl& url) {
    TStreamRef stream = OpenForReading(url);
    if (!stream) return nullptr;
    const int32_t start = stream->Position();
    if (start == -1) Fail("Stream is not seekable");
    std::shared_ptr<TPcmSample> sample;
    try {
        for (TPcmSampleReader* reader = head; reader && !sample; reader = reader->next) {
            sample = TryReader(*reader, *stream, start);
        }
    } catch (...) {
        stream->Close();
        throw;
    }
    stream->Close();
    return sample;
}

void InitAudioSampleModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitRuntimeModule();
    InitStreamModule();
}

}  // namespace vesk
