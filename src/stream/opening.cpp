// Opening streams by name, and the whole-stream conveniences built on it.
#include <vesk/stream/opening.h>

#include <algorithm>

namespace vesk {

namespace {

const Text kSeparator = u"::";

TStreamRef AskOpeners(const TUrl& url, const Text& protocol, const Text& path, bool readable,
                      bool writeable) {
    return TStreamOpener::FirstAnswer([&](TStreamOpener& opener) {
        return opener.Open(url, protocol, path, readable, writeable);
    });
}

// Closes a stream when the scope ends, also when a transfer failure escapes,
// so a failed save never leaves a file open behind it.
class TCloseOnExit {
public:
    explicit TCloseOnExit(TStreamRef stream) : stream_(std::move(stream)) {}
    TCloseOnExit(const TCloseOnExit&) = delete;
    TCloseOnExit& operator=(const TCloseOnExit&) = delete;
    ~TCloseOnExit() {
        try {
            stream_->Close();
        } catch (...) {
            // A close that fails while another failure unwinds has nothing to add.
        }
    }

private:
    TStreamRef stream_;
};

}  // namespace

TStreamRef OpenUrlStream(const TUrl& url, bool readable, bool writeable) {
    if (auto stream = url.As<TByteStream>()) return TBorrowedStream::Borrow(stream);
    const Text& text = url.AsText();
    Text protocol;
    Text path;
    if (!text.empty()) {
        std::size_t split = text.find(kSeparator);
        if (split == Text::npos) return TFileStream::OpenFile(text, readable, writeable);
        protocol = text.substr(0, split);
        path = text.substr(split + kSeparator.size());
    }
    return AskOpeners(url, protocol, path, readable, writeable);
}

TStreamRef OpenForReading(const TUrl& url) { return OpenUrlStream(url, true, false); }
TStreamRef OpenForWriting(const TUrl& url) { return OpenUrlStream(url, false, true); }

// Grows by half again each time the array fills, starting at 1024 bytes.
std::vector<std::uint8_t> LoadBytes(const TUrl& url) {
    TStreamRef stream = OpenForReading(url);
    if (!stream) return {};
    TCloseOnExit closer(stream);
    std::vector<std::uint8_t> bytes(1024, 0);
    std::size_t filled = 0;
    while (!stream->AtEnd()) {
        if (filled == bytes.size()) bytes.resize(filled * 3 / 2, 0);
        auto room = static_cast<std::int32_t>(std::min<std::size_t>(bytes.size() - filled, INT32_MAX));
        std::int32_t moved = stream->Read(bytes.data() + filled, room);
        // A stream that cannot seek never reports its end; nothing read is its end.
        if (moved == 0) break;
        filled += static_cast<std::size_t>(moved);
    }
    bytes.resize(filled);
    return bytes;
}

void SaveBytes(const std::vector<std::uint8_t>& bytes, const TUrl& url) {
    TStreamRef stream = OpenForWriting(url);
    if (!stream) return;
    TCloseOnExit closer(stream);
    stream->WriteExact(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

Text ReadWholeText(const TUrl& url) {
    std::vector<std::uint8_t> bytes = LoadBytes(url);
    return Text(bytes.begin(), bytes.end());
}

void WriteWholeText(const Text& text, const TUrl& url) {
    TStreamRef stream = OpenForWriting(url);
    if (!stream) return;
    TCloseOnExit closer(stream);
    stream->WriteText(text);
}

}  // namespace vesk
