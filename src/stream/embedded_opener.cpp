// The "incbin" opener.
#include "stream/embedded_opener.h"

#include "stream/memory_stream.h"
#include "stream/resources.h"

namespace vesk {

TStreamRef TEmbeddedOpener::Open(const TUrl&, const Text& protocol, const Text& path,
                                 bool readable, bool writeable) {
    if (protocol != u"incbin" || writeable) return nullptr;
    const void* data = ResourceData(path);
    if (!data) return nullptr;
    // The stream is made read-only, so the resource bytes are never written
    // through the pointer it holds.
    return OpenMemoryBlock(const_cast<void*>(data), static_cast<std::int32_t>(ResourceSize(path)),
                           readable, false);
}

}  // namespace vesk
