// The operations every stream gets from its raw transfers: exact counts,
// little-endian typed values, lines and 8-bit text.
#include <algorithm>
#include <bit>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/std_compat.h"
#include <vesk/stream/stream.h>

namespace vesk {

namespace {

constexpr std::int32_t kScratchSize = 1024;
constexpr std::int32_t kLineChunk = 1024;

// Typed values travel little-endian; on a big-endian host the bytes are
// reversed around the transfer.
template <typename T>
T FromLittleEndian(T value) {
    if constexpr (std::endian::native == std::endian::big) {
        auto* bytes = reinterpret_cast<unsigned char*>(&value);
        std::reverse(bytes, bytes + sizeof(T));
    }
    return value;
}

template <typename T>
T ReadValue(TByteStream& stream) {
    T value{};
    stream.ReadExact(&value, sizeof(T));
    return FromLittleEndian(value);
}

template <typename T>
void WriteValue(TByteStream& stream, T value) {
    value = FromLittleEndian(value);
    stream.WriteExact(&value, sizeof(T));
}

std::string NegativeCountReason(std::int32_t count) {
    return "a count of " + std::to_string(count) + " bytes: counts cannot be negative";
}

void CheckReadCount(std::int32_t count) {
    if (count < 0) throw TStreamReadError(NegativeCountReason(count));
}

}  // namespace

std::int32_t TByteStream::ReadExact(void* buffer, std::int32_t count) {
    CheckReadCount(count);
    auto* cursor = static_cast<std::uint8_t*>(buffer);
    std::int32_t remaining = count;
    while (remaining > 0 && !AtEnd()) {
        std::int32_t moved = Read(cursor, remaining);
        if (moved == 0) throw TStreamReadError();
        cursor += moved;
        remaining -= moved;
    }
    return count;
}

std::int32_t TByteStream::WriteExact(const void* buffer, std::int32_t count) {
    if (count < 0) throw TStreamWriteError(NegativeCountReason(count));
    const auto* cursor = static_cast<const std::uint8_t*>(buffer);
    std::int32_t remaining = count;
    while (remaining > 0) {
        std::int32_t moved = Write(cursor, remaining);
        if (moved == 0) throw TStreamWriteError();
        cursor += moved;
        remaining -= moved;
    }
    return count;
}

std::int32_t TByteStream::Skip(std::int32_t count) {
    CheckReadCount(count);
    std::uint8_t scratch[kScratchSize];
    std::int32_t remaining = count;
    while (remaining > 0 && !AtEnd()) {
        std::int32_t moved = Read(scratch, std::min(remaining, kScratchSize));
        if (moved == 0) throw TStreamReadError();
        remaining -= moved;
    }
    return count;
}

int TByteStream::ReadU8() { return ReadValue<std::uint8_t>(*this); }
void TByteStream::WriteU8(int value) { WriteValue(*this, static_cast<std::uint8_t>(value)); }
int TByteStream::ReadU16() { return ReadValue<std::uint16_t>(*this); }
void TByteStream::WriteU16(int value) { WriteValue(*this, static_cast<std::uint16_t>(value)); }
std::int32_t TByteStream::ReadI32() { return ReadValue<std::int32_t>(*this); }
void TByteStream::WriteI32(std::int32_t value) { WriteValue(*this, value); }
std::int64_t TByteStream::ReadI64() { return ReadValue<std::int64_t>(*this); }
void TByteStream::WriteI64(std::int64_t value) { WriteValue(*this, value); }

float TByteStream::ReadF32() { return BitCast<float>(ReadValue<std::uint32_t>(*this)); }
void TByteStream::WriteF32(float value) { WriteValue(*this, BitCast<std::uint32_t>(value)); }
double TByteStream::ReadF64() { return BitCast<double>(ReadValue<std::uint64_t>(*this)); }
void TByteStream::WriteF64(double value) { WriteValue(*this, BitCast<std::uint64_t>(value)); }

// Byte by byte through the raw Read, so nothing past the line is consumed;
// the line is collected in chunks to keep long lines cheap.
Text TByteStream::ReadLine() {
    Text line;
    char chunk[kLineChunk];
    std::int32_t filled = 0;
    for (;;) {
        std::uint8_t byte = 0;
        if (Read(&byte, 1) != 1) break;
        if (byte == 0 || byte == 10) break;
        if (byte == 13) continue;
        chunk[filled++] = static_cast<char>(byte);
        if (filled == kLineChunk) {
            line += BytesToText(std::string_view(chunk, kLineChunk));
            filled = 0;
        }
    }
    if (filled > 0) line += BytesToText(std::string_view(chunk, filled));
    return line;
}

void TByteStream::WriteLine(const Text& text) {
    WriteText(text);
    WriteText(Text{u'\r', u'\n'});
}

Text TByteStream::ReadText(std::int32_t count) {
    CheckReadCount(count);
    std::vector<char> bytes(static_cast<std::size_t>(count), 0);
    ReadExact(bytes.data(), count);
    return BytesToText(std::string_view(bytes.data(), bytes.size()));
}

void TByteStream::WriteText(const Text& text) {
    std::string bytes = TextToBytes(text);
    WriteExact(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

}  // namespace vesk
