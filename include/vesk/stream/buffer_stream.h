// A memory buffer seen as a stream. Writing past the end grows the buffer, so
// a stream over an empty buffer collects whatever is written to it. The
// buffer opener lets a buffer stand in for a name wherever a loader opens one.
#pragma once

#include <memory>

#include <vesk/stream/buffer.h>
#include <vesk/stream/opener.h>
#include <vesk/stream/stream.h>

namespace vesk {

class TBufferStream : public TByteStream {
public:
    // Also true beyond the end (after the buffer shrank under the stream), so
    // that exact and typed reads there stop quietly instead of failing.
    bool AtEnd() override;
    std::int32_t Position() override;
    std::int32_t Size() override;
    std::int32_t Seek(std::int32_t offset) override;
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;

    const TBufferRef& Buffer() const { return buffer_; }

    static std::shared_ptr<TBufferStream> Over(TBufferRef buffer);

private:
    std::int32_t position_ = 0;
    TBufferRef buffer_;
};

// A stream over buffer, or over a new empty owned buffer when buffer is null.
std::shared_ptr<TBufferStream> OpenBufferStream(TBufferRef buffer);

// Serves any memory buffer given in place of a name, whatever the flags.
class TBufferOpener : public TStreamOpener {
public:
    TStreamRef Open(const TUrl& url, const Text& protocol, const Text& path, bool readable,
                    bool writeable) override;
};

}  // namespace vesk
