// The "incbin" opener.
#include "stream/embedded_opener.h"

#include <vesk/stream/memory_stream.h>
#include <vesk/stream/resources.h>

#include <memory>
#include <utility>

namespace vesk {
namespace {

// Closing a resource's stream is the reader saying it is done with the
// bytes: a large resource, read once into memory of its own, would
// otherwise stay resident twice for the life of the process.
class TEmbeddedStream : public TFixedMemoryStream {
public:
    TEmbeddedStream(Text name, const void* data, std::int32_t size, bool readable) : name_(std::move(name)) {
        // Read-only, so the resource bytes are never written through the
        // pointer the stream holds.
        Attach(const_cast<void*>(data), size, readable, false);
    }

    void Close() override {
        TFixedMemoryStream::Close();
        ReleaseResourcePages(name_);
    }

private:
    Text name_;
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
