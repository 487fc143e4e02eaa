// Buffer streams and the opener that serves memory buffers.
#include <vesk/stream/buffer_stream.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace vesk {

std::shared_ptr<TBufferStream> TBufferStream::Over(TBufferRef buffer) {
    auto stream = std::make_shared<TBufferStream>();
    stream->buffer_ = std::move(buffer);
    return stream;
}

std::shared_ptr<TBufferStream> OpenBufferStream(TBufferRef buffer) {
    if (!buffer) buffer = TMemoryBuffer::Allocate(0);
    return TBufferStream::Over(std::move(buffer));
}

bool TBufferStream::AtEnd() { return position_ >= buffer_->Size(); }
std::int32_t TBufferStream::Position() { return position_; }
std::int32_t TBufferStream::Size() { return buffer_->Size(); }

std::int32_t TBufferStream::Seek(std::int32_t offset) {
    position_ = std::clamp(offset, 0, buffer_->Size());
    return position_;
}

std::int32_t TBufferStream::Read(void* dest, std::int32_t count) {
    std::int32_t size = buffer_->Size();
    if (count <= 0 || position_ >= size) return 0;
    count = std::min(count, size - position_);
    std::memcpy(dest, buffer_->Data() + position_, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

std::int32_t TBufferStream::Write(const void* src, std::int32_t count) {
    std::int32_t size = buffer_->Size();
    if (count <= 0 || position_ > size) return 0;
    // A stream holds at most 2^31 - 1 bytes: what lies beyond is not written,
    // and an exact write that can move nothing more fails.
    count = std::min(count, std::numeric_limits<std::int32_t>::max() - position_);
    if (count == 0) return 0;
    if (position_ + count > size) buffer_->Resize(position_ + count);
    std::memcpy(buffer_->Data() + position_, src, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

TStreamRef TBufferOpener::Open(const TUrl& url, const Text&, const Text&, bool, bool) {
    if (auto buffer = url.As<TMemoryBuffer>()) return OpenBufferStream(buffer);
    return nullptr;
}

}  // namespace vesk
