// Memory buffers: allocation, growth, little-endian peeks and pokes.
#include <vesk/stream/buffer.h>

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "runtime/std_compat.h"
#include <vesk/runtime/failure.h>
#include <vesk/stream/opening.h>

namespace vesk {

namespace {

void CheckSize(std::int32_t size) {
    if (size < 0)
        Fail("Invalid byte count", "a buffer of " + std::to_string(size) + " bytes: sizes cannot be negative");
}

std::uint8_t* AllocateBlock(std::int32_t size) {
    return static_cast<std::uint8_t*>(std::malloc(static_cast<std::size_t>(std::max(size, 1))));
}

// Half again the old capacity, at least the requested size. Worked out wide
// so that very large buffers do not wrap around.
std::int32_t GrownCapacity(std::int32_t capacity, std::int32_t newSize) {
    std::int64_t grown = static_cast<std::int64_t>(capacity) * 3 / 2;
    grown = std::min<std::int64_t>(grown, std::numeric_limits<std::int32_t>::max());
    return std::max(static_cast<std::int32_t>(grown), newSize);
}

template <typename T>
T Peek(const std::uint8_t* at) {
    T value;
    std::memcpy(&value, at, sizeof(T));
    if constexpr (std::endian::native == std::endian::big) {
        auto* bytes = reinterpret_cast<unsigned char*>(&value);
        std::reverse(bytes, bytes + sizeof(T));
    }
    return value;
}

template <typename T>
void Poke(std::uint8_t* at, T value) {
    if constexpr (std::endian::native == std::endian::big) {
        auto* bytes = reinterpret_cast<unsigned char*>(&value);
        std::reverse(bytes, bytes + sizeof(T));
    }
    std::memcpy(at, &value, sizeof(T));
}

}  // namespace

TMemoryBuffer::~TMemoryBuffer() {
    if (capacity_ >= 0) std::free(data_);
}

TBufferRef TMemoryBuffer::Allocate(std::int32_t size) {
    CheckSize(size);
    TBufferRef buffer(new TMemoryBuffer());
    if (size > 0) buffer->data_ = AllocateBlock(size);
    buffer->size_ = size;
    buffer->capacity_ = size;
    return buffer;
}

TBufferRef TMemoryBuffer::OverMemory(void* address, std::int32_t size) {
    CheckSize(size);
    TBufferRef buffer(new TMemoryBuffer());
    buffer->data_ = static_cast<std::uint8_t*>(address);
    buffer->size_ = size;
    buffer->capacity_ = -1;
    return buffer;
}

void TMemoryBuffer::Resize(std::int32_t newSize) {
    CheckSize(newSize);
    if (newSize > capacity_) {
        // External memory (capacity -1) moves into an owned block of exactly newSize.
        std::int32_t newCapacity = GrownCapacity(capacity_, newSize);
        std::uint8_t* block = AllocateBlock(newCapacity);
        std::int32_t kept = std::min(size_, newSize);
        if (kept > 0) std::memcpy(block, data_, static_cast<std::size_t>(kept));
        if (capacity_ >= 0) std::free(data_);
        capacity_ = newCapacity;
        data_ = block;
    }
    size_ = newSize;
}

std::int32_t TMemoryBuffer::ReadFrom(const TStreamRef& stream, std::int32_t offset,
                                     std::int32_t count) {
    return stream->ReadExact(data_ + offset, count);
}

std::int32_t TMemoryBuffer::WriteTo(const TStreamRef& stream, std::int32_t offset,
                                    std::int32_t count) {
    return stream->WriteExact(data_ + offset, count);
}

int TMemoryBuffer::PeekU8(std::int32_t offset) const { return data_[offset]; }
void TMemoryBuffer::PokeU8(std::int32_t offset, int value) {
    data_[offset] = static_cast<std::uint8_t>(value);
}
int TMemoryBuffer::PeekU16(std::int32_t offset) const { return Peek<std::uint16_t>(data_ + offset); }
void TMemoryBuffer::PokeU16(std::int32_t offset, int value) {
    Poke(data_ + offset, static_cast<std::uint16_t>(value));
}
std::int32_t TMemoryBuffer::PeekI32(std::int32_t offset) const {
    return Peek<std::int32_t>(data_ + offset);
}
void TMemoryBuffer::PokeI32(std::int32_t offset, std::int32_t value) { Poke(data_ + offset, value); }
std::int64_t TMemoryBuffer::PeekI64(std::int32_t offset) const {
    return Peek<std::int64_t>(data_ + offset);
}
void TMemoryBuffer::PokeI64(std::int32_t offset, std::int64_t value) { Poke(data_ + offset, value); }
float TMemoryBuffer::PeekF32(std::int32_t offset) const {
    return BitCast<float>(Peek<std::uint32_t>(data_ + offset));
}
void TMemoryBuffer::PokeF32(std::int32_t offset, float value) {
    Poke(data_ + offset, BitCast<std::uint32_t>(value));
}
double TMemoryBuffer::PeekF64(std::int32_t offset) const {
    return BitCast<double>(Peek<std::uint64_t>(data_ + offset));
}
void TMemoryBuffer::PokeF64(std::int32_t offset, double value) {
    Poke(data_ + offset, BitCast<std::uint64_t>(value));
}

bool TMemoryBuffer::SaveTo(const TUrl& url) {
    TStreamRef stream = OpenForWriting(url);
    if (!stream) return false;
    try {
        stream->WriteExact(data_, size_);
    } catch (...) {
        // Do not leave the file open behind a failed save.
        stream->Close();
        throw;
    }
    stream->Close();
    return true;
}

TBufferRef TMemoryBuffer::LoadFrom(const TUrl& url) {
    TStreamRef stream = OpenForReading(url);
    if (!stream) return nullptr;
    std::vector<std::uint8_t> bytes = LoadBytes(stream);
    TBufferRef buffer = Allocate(static_cast<std::int32_t>(bytes.size()));
    if (!bytes.empty()) std::memcpy(buffer->data_, bytes.data(), bytes.size());
    stream->Close();
    return buffer;
}

}  // namespace vesk
