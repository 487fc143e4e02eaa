// OpenUrlStream with arbitrary names and flags, then the stream operations,
// in an order the input chooses, on whatever it opened: files, embedded
// resources, memory buffers and borrowed streams.
//
// The target works inside a scratch folder of its own. Names that would
// reach the file system outside it (with a slash or a backslash, which file
// opening turns into a slash) are skipped, so that the fuzzer cannot read a
// device or overwrite a file of the machine.
#include "fuzz_input.h"
#include <vesk/stream/buffer.h>
#include <vesk/stream/buffer_stream.h>
#include <vesk/stream/opening.h>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vesk::fuzz {
namespace {

const uint8_t kResource[] = "RIFF\x10\0\0\0WAVEfmt first line\r\nsecond line\0third";

void EnterScratchFolder() {
    char folder[] = "/tmp/vesk-open-url-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
}

// Every input starts from the same two files, so that inputs do not depend
// on what earlier ones wrote.
void ResetFiles() {
    std::FILE* file = std::fopen("a", "wb");
    std::fwrite(kResource, 1, sizeof kResource, file);
    std::fclose(file);
    std::fclose(std::fopen("empty", "wb"));
}

// A file the input created goes again; names map to bytes one to one.
void RemoveCreated(const TUrl& url, bool writeable) {
    if (!writeable || !url.IsText() || url.AsText().find(u"::") != Text::npos) return;
    std::string name(url.AsText().begin(), url.AsText().end());
    if (name != "a" && name != "empty") std::remove(name.c_str());
}

bool ReachesOutside(const Text& name) {
    if (name.find(u"::") != Text::npos) return false;  // the openers, not the file system
    return name.find(u'/') != Text::npos || name.find(u'\\') != Text::npos;
}

class TStreamDriver {
public:
    TStreamDriver(TOpInput& in, TStreamRef stream) : in_(in), stream_(std::move(stream)) {}

    void Step() {
        switch (in_.Byte() % 18) {
        case 0: Read(); break;
        case 1: Write(); break;
        case 2: Seek(); break;
        case 3: ReadExact(); break;
        case 4: WriteExact(); break;
        case 5: stream_->Skip(in_.Count(kMaxCount)); break;
        case 6: TypedRead(); break;
        case 7: TypedWrite(); break;
        case 8: stream_->ReadLine(); break;
        case 9: stream_->WriteLine(InputText()); break;
        case 10: {
            int32_t count = in_.Count(kMaxCount);
            VESK_FUZZ_CHECK(static_cast<int32_t>(stream_->ReadText(count).size()) == count);
            break;
        }
        case 11: stream_->WriteText(InputText()); break;
        case 12: Shape(); break;
        case 13: stream_->Flush(); break;
        case 14: stream_->Close(); break;
        case 15: CopyAll(stream_, OpenBufferStream(nullptr), 1 + in_.Count(4096)); break;
        case 16: CopyCount(stream_, OpenBufferStream(nullptr), in_.Count(kMaxCount), 1 + in_.Count(4096)); break;
        default: LoadBytes(stream_); break;
        }
    }

private:
    static constexpr int32_t kMaxCount = 1 << 14;

    void Read() {
        int32_t count = in_.Count(kMaxCount);
        std::vector<uint8_t> out(static_cast<size_t>(count) + 1);
        int32_t moved = stream_->Read(out.data(), count);
        VESK_FUZZ_CHECK(moved >= 0 && moved <= count);
    }

    void Write() {
        size_t count = static_cast<size_t>(in_.Count(kMaxCount));
        const uint8_t* bytes = in_.Take(count);
        int32_t moved = stream_->Write(bytes, static_cast<int32_t>(count));
        VESK_FUZZ_CHECK(moved >= 0 && moved <= static_cast<int32_t>(count));
    }

    // Within a megabyte either way: a file stream seeks past its end, and a
    // write there would make a file of gigabytes.
    void Seek() {
        auto offset = static_cast<int32_t>(in_.Word()) % (1 << 20);
        stream_->Seek(offset);
    }

    void ReadExact() {
        int32_t count = in_.Count(kMaxCount);
        std::vector<uint8_t> out(static_cast<size_t>(count) + 1);
        VESK_FUZZ_CHECK(stream_->ReadExact(out.data(), count) == count);
    }

    void WriteExact() {
        size_t count = static_cast<size_t>(in_.Count(kMaxCount));
        const uint8_t* bytes = in_.Take(count);
        VESK_FUZZ_CHECK(stream_->WriteExact(bytes, static_cast<int32_t>(count)) == static_cast<int32_t>(count));
    }

    void TypedRead() {
        switch (in_.Byte() % 7) {
        case 0: VESK_FUZZ_CHECK(stream_->ReadU8() >= 0 && stream_->ReadU8() <= 255); break;
        case 1: {
            int value = stream_->ReadU16();
            VESK_FUZZ_CHECK(value >= 0 && value <= 65535);
            break;
        }
        case 2: stream_->ReadI32(); break;
        case 3: stream_->ReadI64(); break;
        case 4: stream_->ReadF32(); break;
        default: stream_->ReadF64(); break;
        }
    }

    void TypedWrite() {
        uint32_t value = in_.Word();
        switch (in_.Byte() % 6) {
        case 0: stream_->WriteU8(static_cast<int>(value)); break;
        case 1: stream_->WriteU16(static_cast<int>(value)); break;
        case 2: stream_->WriteI32(static_cast<int32_t>(value)); break;
        case 3: stream_->WriteI64(int64_t{static_cast<int32_t>(value)} << 17); break;
        case 4: stream_->WriteF32(static_cast<float>(value) / 7.0f); break;
        default: stream_->WriteF64(static_cast<double>(value) / 7.0); break;
        }
    }

    // A seekable stream's position lies within 0 … size after a seek to a
    // place inside it.
    void Shape() {
        int32_t size = stream_->Size();
        int32_t position = stream_->Position();
        VESK_FUZZ_CHECK(size >= 0 && position >= -1);
        if (position >= 0 && size > 0) {
            int32_t target = in_.Count(size);
            VESK_FUZZ_CHECK(stream_->Seek(target) == target);
            VESK_FUZZ_CHECK(stream_->AtEnd() == (target == size));
        }
    }

    Text InputText() {
        size_t count = in_.Count(256);
        const uint8_t* bytes = in_.Take(count);
        return Text(bytes, bytes + count);
    }

    TOpInput& in_;
    TStreamRef stream_;
};

// The name runs up to the first 0 byte; what follows drives the operations.
Text TakeName(TOpInput& in) {
    Text name;
    while (!in.Empty() && name.size() < 64) {
        uint8_t byte = in.Byte();
        if (byte == 0) break;
        name.push_back(byte);
    }
    return name;
}

TUrl ChooseUrl(TOpInput& in, uint8_t flags, TBufferRef& source) {
    switch ((flags >> 2) % 4) {
    case 1: {
        size_t count = in.Count(256);
        const uint8_t* bytes = in.Take(count);
        source = TMemoryBuffer::Allocate(static_cast<int32_t>(count));
        if (count) std::memcpy(source->Data(), bytes, count);
        return source;  // the buffer opener
    }
    case 2:
        source = TMemoryBuffer::Allocate(0);
        return TStreamRef(OpenBufferStream(source));  // a borrowed view
    default: return TakeName(in);
    }
}

}  // namespace
}  // namespace vesk::fuzz

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    using namespace vesk;
    InitStreamModule();
    fuzz::EnterScratchFolder();
    RegisterResource(u"\\basic\\sample.bin", fuzz::kResource, sizeof fuzz::kResource);
    RegisterResource(u"", fuzz::kResource, 0);
    RegisterResource(u"a::b", fuzz::kResource + 4, 8);
    fuzz::HandSignalsToFuzzer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk;
    fuzz::TOpInput in(data, size);
    uint8_t flags = in.Byte();
    TBufferRef source;
    TUrl url = fuzz::ChooseUrl(in, flags, source);
    if (url.IsText() && fuzz::ReachesOutside(url.AsText())) return 0;
    fuzz::ResetFiles();
    TStreamRef stream = OpenUrlStream(url, flags & 1, flags & 2);
    if (!stream) return 0;
    fuzz::TStreamDriver driver(in, stream);
    for (int step = 0; step < 64 && !in.Empty(); ++step) {
        try {
            driver.Step();
        } catch (const TFailure&) {
            // Stream failures, and the raw defaults' "Stream is not readable"
            // and "Stream is not writeable", are results here.
        }
    }
    try {
        stream->Close();
    } catch (const TFailure&) {
    }
    fuzz::RemoveCreated(url, flags & 2);
    return 0;
}
