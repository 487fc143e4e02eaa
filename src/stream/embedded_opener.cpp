// The "incbin" opener.
#include "stream/embedded_opener.h"

#include <vesk/stream/memory_stream.h>
#include <vesk/stream/resources.h>

#include "stream/resource_pages.h"

#include <memory>
#include <utility>

namespace vesk {
namespace {

// Closing a resource's stream is the reader saying it is done with the
// bytes: a large resource, read once into memory of its own, would
// otherwise stay resident twice for the life of the process. Reading on
// through a resource gives back the pages behind the reader a step at a
// time, so a long one read as it is used (a sound streamed from it) holds
// little more than a step of itself. Pages read again come back unchanged.
class TEmbeddedStream : public TFixedMemoryStream {
public:
    static constexpr std::int32_t kReleaseStep = 256 * 1024;

    TEmbeddedStream(Text name, const void* data, std::int32_t size, bool readable)
        : name_(std::move(name)), data_(data) {
        // Read-only, so the resource bytes are never written through the
        // pointer the stream holds.
        Attach(const_cast<void*>(data), size, readable, false);
    }

    std::int32_t Read(void* buffer, std::int32_t count) override {
        const std::int32_t moved = TFixedMemoryStream::Read(buffer, count);
        const std::int32_t position = Position();
        if (position - releasedUpTo_ >= kReleaseStep) {
            ReleaseFilePages(data_, static_cast<std::size_t>(position));
            releasedUpTo_ = position;
        }
        return moved;
    }

    void Close() override {
        TFixedMemoryStream::Close();
        ReleaseResourcePages(name_);
    }

private:
    Text name_;
    const void* data_;
    std::int32_t releasedUpTo_ = 0;
};

}  // namespace

TStreamRef TEmbeddedOpener::Open(const TUrl&, const Text& protocol, const Text& path,
                                 bool readable, bool writeable) {
    if (protocol != u"incbin" || writeable) return nullptr;
    const void* data = ResourceData(path);
    if (!data) return nullptr;
    return std::make_shared<TEmbeddedStream>(path, data, static_cast<std::int32_t>(ResourceSize(path)), readable);
}

}  // namespace vesk
