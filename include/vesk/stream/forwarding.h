// Streams that pass the raw operations on to another stream. A borrowed
// stream is the view handed out when a caller offers an open stream in place
// of a name: closing the view lets go of the stream without closing it.
#pragma once

#include <memory>

#include <vesk/stream/stream.h>

namespace vesk {

class TForwardingStream : public TByteStream {
public:
    bool AtEnd() override;
    std::int32_t Position() override;
    std::int32_t Size() override;
    std::int32_t Seek(std::int32_t offset) override;
    void Flush() override;
    void Close() override;  // closes the inner stream
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;

    void SetInner(TStreamRef stream);
    const TStreamRef& Inner() const { return inner_; }

protected:
    TStreamRef inner_;
};

class TBorrowedStream : public TForwardingStream {
public:
    // Drops the inner stream, which stays open for its other holders.
    void Close() override;

    static std::shared_ptr<TBorrowedStream> Borrow(TStreamRef stream);
};

}  // namespace vesk
