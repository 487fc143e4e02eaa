// Streams for the pixmap tests: bytes in memory, a stream that cannot seek,
// and streams that fail part-way through a read or a write.
#pragma once

#include <vesk/stream/buffer.h>
#include <vesk/stream/buffer_stream.h>
#include <vesk/stream/stream.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace vesk::test {

using Bytes = std::vector<uint8_t>;

inline TBufferRef BufferOf(const Bytes& bytes) {
    TBufferRef buffer = TMemoryBuffer::Allocate(static_cast<int32_t>(bytes.size()));
    if (!bytes.empty()) std::memcpy(buffer->Data(), bytes.data(), bytes.size());
    return buffer;
}

inline TStreamRef StreamOf(const Bytes& bytes) { return OpenBufferStream(BufferOf(bytes)); }

inline Bytes BytesOf(const TBufferRef& buffer) { return Bytes(buffer->Data(), buffer->Data() + buffer->Size()); }

// A seekable stream whose reads stop moving bytes at `failAt` although the
// stream is not at its end: ReadExact then raises TStreamReadError.
class TBrokenReadStream : public TByteStream {
public:
    TBrokenReadStream(Bytes bytes, int32_t failAt) : bytes_(std::move(bytes)), failAt_(failAt) {}
    int32_t Position() override { return at_; }
    int32_t Size() override { return static_cast<int32_t>(bytes_.size()); }
    int32_t Seek(int32_t offset) override { return at_ = std::clamp(offset, 0, Size()); }
    void Close() override { ++closes; }
    int32_t Read(void* buffer, int32_t count) override {
        int32_t n = std::min(count, failAt_ - at_);
        if (n <= 0) return 0;
        std::memcpy(buffer, bytes_.data() + at_, n);
        at_ += n;
        return n;
    }
    int closes = 0;

private:
    Bytes bytes_;
    int32_t failAt_;
    int32_t at_ = 0;
};

// The same, but it reports position -1: it cannot seek.
class TUnseekableStream : public TBrokenReadStream {
public:
    explicit TUnseekableStream(Bytes bytes) : TBrokenReadStream(bytes, static_cast<int32_t>(bytes.size())) {}
    int32_t Position() override { return -1; }
};

// Accepts `room` bytes, then every Write moves nothing: WriteExact raises
// TStreamWriteError.
class TFullDiskStream : public TByteStream {
public:
    explicit TFullDiskStream(int32_t room) : room_(room) {}
    int32_t Write(const void*, int32_t count) override {
        int32_t n = std::min(count, room_);
        room_ -= n;
        return n;
    }
    void Close() override { ++closes; }
    int closes = 0;

private:
    int32_t room_;
};

}  // namespace vesk::test
