// Free-function forms of the memory-buffer operations, and buffer copies.
#include <cstring>
#include <string>

#include <vesk/runtime/failure.h>
#include <vesk/stream/buffer.h>

namespace vesk {

std::uint8_t* Data(const TBufferRef& buffer) { return buffer->Data(); }
std::int32_t Size(const TBufferRef& buffer) { return buffer->Size(); }
std::int32_t Capacity(const TBufferRef& buffer) { return buffer->Capacity(); }
void Resize(const TBufferRef& buffer, std::int32_t newSize) { buffer->Resize(newSize); }

std::int32_t ReadFrom(const TBufferRef& buffer, const TStreamRef& stream, std::int32_t offset,
                      std::int32_t count) {
    return buffer->ReadFrom(stream, offset, count);
}

std::int32_t WriteTo(const TBufferRef& buffer, const TStreamRef& stream, std::int32_t offset,
                     std::int32_t count) {
    return buffer->WriteTo(stream, offset, count);
}

int PeekU8(const TBufferRef& b, std::int32_t offset) { return b->PeekU8(offset); }
void PokeU8(const TBufferRef& b, std::int32_t offset, int value) { b->PokeU8(offset, value); }
int PeekU16(const TBufferRef& b, std::int32_t offset) { return b->PeekU16(offset); }
void PokeU16(const TBufferRef& b, std::int32_t offset, int value) { b->PokeU16(offset, value); }
std::int32_t PeekI32(const TBufferRef& b, std::int32_t offset) { return b->PeekI32(offset); }
void PokeI32(const TBufferRef& b, std::int32_t offset, std::int32_t value) {
    b->PokeI32(offset, value);
}
std::int64_t PeekI64(const TBufferRef& b, std::int32_t offset) { return b->PeekI64(offset); }
void PokeI64(const TBufferRef& b, std::int32_t offset, std::int64_t value) {
    b->PokeI64(offset, value);
}
float PeekF32(const TBufferRef& b, std::int32_t offset) { return b->PeekF32(offset); }
void PokeF32(const TBufferRef& b, std::int32_t offset, float value) { b->PokeF32(offset, value); }
double PeekF64(const TBufferRef& b, std::int32_t offset) { return b->PeekF64(offset); }
void PokeF64(const TBufferRef& b, std::int32_t offset, double value) { b->PokeF64(offset, value); }

bool SaveTo(const TBufferRef& buffer, const TUrl& url) { return buffer->SaveTo(url); }
TBufferRef LoadFrom(const TUrl& url) { return TMemoryBuffer::LoadFrom(url); }
TBufferRef Allocate(std::int32_t size) { return TMemoryBuffer::Allocate(size); }
TBufferRef OverMemory(void* address, std::int32_t size) {
    return TMemoryBuffer::OverMemory(address, size);
}

// memmove, so that a copy within one buffer is safe whichever way it overlaps.
void CopyBytes(const TBufferRef& source, std::int32_t sourceOffset, const TBufferRef& destination,
               std::int32_t destinationOffset, std::int32_t count) {
    if (count < 0)
        Fail("Invalid byte count", "a copy of " + std::to_string(count) + " bytes: counts cannot be negative");
    if (count == 0) return;
    std::memmove(destination->Data() + destinationOffset, source->Data() + sourceOffset,
                 static_cast<std::size_t>(count));
}

}  // namespace vesk
