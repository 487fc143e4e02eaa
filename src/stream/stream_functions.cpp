// Free-function forms of the stream operations, and stream-to-stream copies.
#include <algorithm>
#include <string>
#include <vector>

#include <vesk/stream/stream.h>

namespace vesk {

bool AtEnd(const TStreamRef& stream) { return stream->AtEnd(); }
std::int32_t Position(const TStreamRef& stream) { return stream->Position(); }
std::int32_t Size(const TStreamRef& stream) { return stream->Size(); }
std::int32_t Seek(const TStreamRef& stream, std::int32_t offset) { return stream->Seek(offset); }
void Flush(const TStreamRef& stream) { stream->Flush(); }
void Close(const TStreamRef& stream) { stream->Close(); }
int ReadU8(const TStreamRef& stream) { return stream->ReadU8(); }
void WriteU8(const TStreamRef& stream, int value) { stream->WriteU8(value); }
int ReadU16(const TStreamRef& stream) { return stream->ReadU16(); }
void WriteU16(const TStreamRef& stream, int value) { stream->WriteU16(value); }
std::int32_t ReadI32(const TStreamRef& stream) { return stream->ReadI32(); }
void WriteI32(const TStreamRef& stream, std::int32_t value) { stream->WriteI32(value); }
std::int64_t ReadI64(const TStreamRef& stream) { return stream->ReadI64(); }
void WriteI64(const TStreamRef& stream, std::int64_t value) { stream->WriteI64(value); }
float ReadF32(const TStreamRef& stream) { return stream->ReadF32(); }
void WriteF32(const TStreamRef& stream, float value) { stream->WriteF32(value); }
double ReadF64(const TStreamRef& stream) { return stream->ReadF64(); }
void WriteF64(const TStreamRef& stream, double value) { stream->WriteF64(value); }
Text ReadLine(const TStreamRef& stream) { return stream->ReadLine(); }
void WriteLine(const TStreamRef& stream, const Text& text) { stream->WriteLine(text); }
Text ReadText(const TStreamRef& stream, std::int32_t count) { return stream->ReadText(count); }
void WriteText(const TStreamRef& stream, const Text& text) { stream->WriteText(text); }

// A stream that cannot seek never reports its end through AtEnd; its Read
// moving nothing is the end, so the copy stops there instead of spinning.
void CopyAll(const TStreamRef& from, const TStreamRef& to, std::int32_t bufferSize) {
    bufferSize = std::max(bufferSize, 1);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(bufferSize));
    while (!from->AtEnd()) {
        std::int32_t moved = from->Read(buffer.data(), bufferSize);
        if (moved == 0) break;
        to->WriteExact(buffer.data(), moved);
    }
}

void CopyCount(const TStreamRef& from, const TStreamRef& to, std::int32_t count,
               std::int32_t bufferSize) {
    if (count < 0)
        throw TStreamReadError("a copy of " + std::to_string(count) + " bytes: counts cannot be negative");
    bufferSize = std::max(bufferSize, 1);
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(bufferSize));
    while (count > 0) {
        std::int32_t chunk = std::min(count, bufferSize);
        // Bytes past from's end arrive as zeros, not as leftovers of the
        // previous chunk.
        std::fill_n(buffer.begin(), chunk, 0);
        from->ReadExact(buffer.data(), chunk);
        to->WriteExact(buffer.data(), chunk);
        count -= chunk;
    }
}

}  // namespace vesk
