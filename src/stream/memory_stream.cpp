// Fixed memory streams.
#include <vesk/stream/memory_stream.h>

#include <algorithm>
#include <cstring>
#include <string>

#include <vesk/runtime/failure.h>

namespace vesk {

std::shared_ptr<TFixedMemoryStream> TFixedMemoryStream::OpenMemoryBlock(void* data,
                                                                        std::int32_t size,
                                                                        bool readable,
                                                                        bool writeable) {
    auto stream = std::make_shared<TFixedMemoryStream>();
    stream->Attach(data, size, readable, writeable);
    return stream;
}

void TFixedMemoryStream::Attach(void* data, std::int32_t size, bool readable, bool writeable) {
    if (size < 0)
        Fail("Invalid byte count", "a memory block of " + std::to_string(size) + " bytes: sizes cannot be negative");
    data_ = static_cast<std::uint8_t*>(data);
    size_ = size;
    readable_ = readable;
    writeable_ = writeable;
}

std::shared_ptr<TFixedMemoryStream> OpenMemoryBlock(void* data, std::int32_t size, bool readable,
                                                    bool writeable) {
    return TFixedMemoryStream::OpenMemoryBlock(data, size, readable, writeable);
}

std::int32_t TFixedMemoryStream::Position() { return position_; }
std::int32_t TFixedMemoryStream::Size() { return size_; }

std::int32_t TFixedMemoryStream::Seek(std::int32_t offset) {
    position_ = std::clamp(offset, 0, size_);
    return position_;
}

std::int32_t TFixedMemoryStream::Read(void* buffer, std::int32_t count) {
    if (count <= 0 || !readable_) return 0;
    count = std::min(count, size_ - position_);
    if (count > 0) std::memcpy(buffer, data_ + position_, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

std::int32_t TFixedMemoryStream::Write(const void* buffer, std::int32_t count) {
    if (count <= 0 || !writeable_) return 0;
    count = std::min(count, size_ - position_);
    if (count > 0) std::memcpy(data_ + position_, buffer, static_cast<std::size_t>(count));
    position_ += count;
    return count;
}

}  // namespace vesk
