// Memory buffers: a block of bytes addressed directly. A buffer either owns
// its block (capacity >= 0, grown by half again when it must grow) or wraps
// memory that belongs to someone else (capacity -1) until its first Resize,
// which always moves it into an owned block of exactly the new size.
//
// Values are little-endian at any byte offset. Peeks, pokes and the stream
// transfers do not check offsets against the size: the caller keeps them in
// range. Resize may move Data. A negative size or count raises "Invalid byte
// count" (the stream transfers raise their stream error).
#pragma once

#include <cstdint>
#include <memory>

#include <vesk/stream/object.h>
#include <vesk/stream/stream.h>
#include <vesk/stream/url.h>

namespace vesk {

class TMemoryBuffer : public TObject {
public:
    ~TMemoryBuffer() override;

    std::uint8_t* Data() const { return data_; }
    std::int32_t Size() const { return size_; }
    std::int32_t Capacity() const { return capacity_; }
    void Resize(std::int32_t newSize);

    // ReadExact / WriteExact of count bytes at offset; both return count.
    std::int32_t ReadFrom(const TStreamRef& stream, std::int32_t offset, std::int32_t count);
    std::int32_t WriteTo(const TStreamRef& stream, std::int32_t offset, std::int32_t count);

    int PeekU8(std::int32_t offset) const;
    void PokeU8(std::int32_t offset, int value);
    int PeekU16(std::int32_t offset) const;
    void PokeU16(std::int32_t offset, int value);
    std::int32_t PeekI32(std::int32_t offset) const;
    void PokeI32(std::int32_t offset, std::int32_t value);
    std::int64_t PeekI64(std::int32_t offset) const;
    void PokeI64(std::int32_t offset, std::int64_t value);
    float PeekF32(std::int32_t offset) const;
    void PokeF32(std::int32_t offset, float value);
    double PeekF64(std::int32_t offset) const;
    void PokeF64(std::int32_t offset, double value);

    // True when saved, false when the name does not open for writing.
    bool SaveTo(const TUrl& url);

    // The whole of what the name opens to, or null when it does not open.
    static std::shared_ptr<TMemoryBuffer> LoadFrom(const TUrl& url);
    // An owned buffer of size bytes, not cleared.
    static std::shared_ptr<TMemoryBuffer> Allocate(std::int32_t size);
    // A view of someone else's memory (capacity -1); never freed here.
    static std::shared_ptr<TMemoryBuffer> OverMemory(void* address, std::int32_t size);

private:
    TMemoryBuffer() = default;

    std::uint8_t* data_ = nullptr;
    std::int32_t size_ = 0;
    std::int32_t capacity_ = 0;
};

using TBufferRef = std::shared_ptr<TMemoryBuffer>;

// The same operations as free functions over a buffer reference.
std::uint8_t* Data(const TBufferRef& buffer);
std::int32_t Size(const TBufferRef& buffer);
std::int32_t Capacity(const TBufferRef& buffer);
void Resize(const TBufferRef& buffer, std::int32_t newSize);
std::int32_t ReadFrom(const TBufferRef& buffer, const TStreamRef& stream, std::int32_t offset,
                      std::int32_t count);
std::int32_t WriteTo(const TBufferRef& buffer, const TStreamRef& stream, std::int32_t offset,
                     std::int32_t count);
int PeekU8(const TBufferRef& buffer, std::int32_t offset);
void PokeU8(const TBufferRef& buffer, std::int32_t offset, int value);
int PeekU16(const TBufferRef& buffer, std::int32_t offset);
void PokeU16(const TBufferRef& buffer, std::int32_t offset, int value);
std::int32_t PeekI32(const TBufferRef& buffer, std::int32_t offset);
void PokeI32(const TBufferRef& buffer, std::int32_t offset, std::int32_t value);
std::int64_t PeekI64(const TBufferRef& buffer, std::int32_t offset);
void PokeI64(const TBufferRef& buffer, std::int32_t offset, std::int64_t value);
float PeekF32(const TBufferRef& buffer, std::int32_t offset);
void PokeF32(const TBufferRef& buffer, std::int32_t offset, float value);
double PeekF64(const TBufferRef& buffer, std::int32_t offset);
void PokeF64(const TBufferRef& buffer, std::int32_t offset, double value);
bool SaveTo(const TBufferRef& buffer, const TUrl& url);
TBufferRef LoadFrom(const TUrl& url);
TBufferRef Allocate(std::int32_t size);
TBufferRef OverMemory(void* address, std::int32_t size);

// Copies count bytes between buffers (overlapping ranges are allowed).
void CopyBytes(const TBufferRef& source, std::int32_t sourceOffset, const TBufferRef& destination,
               std::int32_t destinationOffset, std::int32_t count);

}  // namespace vesk
