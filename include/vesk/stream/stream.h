// Streams: every byte source and sink of the engine (files, resources inside
// the executable, memory blocks) is a TByteStream. The eight raw operations
// may move fewer bytes than asked; everything else (exact counts, little-endian
// typed values, lines and 8-bit text) is built on them here, once, so a stream
// class only provides the raw transfers it supports.
//
// Reaching the end is not a failure: exact reads stop there, typed reads give
// zero and line reads give what they have. A Position of -1 means the stream
// cannot seek. Releasing a stream does not close it; owners call Close.
#pragma once

#include <cstdint>
#include <memory>

#include <vesk/runtime/failure.h>
#include <vesk/runtime/text.h>
#include <vesk/stream/object.h>

namespace vesk {

// Failures of a transfer that should have moved bytes but moved none. Reader
// registries catch this kind and treat it as a decline.
class TStreamError : public TFailure {
public:
    TStreamError() : TFailure("") {}

protected:
    explicit TStreamError(std::string message, std::string reason = {})
        : TFailure(std::move(message), std::move(reason)) {}
};

class TStreamReadError : public TStreamError {
public:
    TStreamReadError() : TStreamError("Error reading from stream") {}
    explicit TStreamReadError(std::string reason) : TStreamError("Error reading from stream", std::move(reason)) {}
};

class TStreamWriteError : public TStreamError {
public:
    TStreamWriteError() : TStreamError("Error writing to stream") {}
    // With the system's reason, such as "No space left on device".
    explicit TStreamWriteError(std::string reason) : TStreamError("Error writing to stream", std::move(reason)) {}
};

// The raw operations with the behaviour of a stream that supports nothing:
// not seekable, empty, and raising a plain TFailure ("Stream is not readable",
// "Stream is not writeable") on transfer.
class TRawStream : public TObject {
public:
    virtual bool AtEnd();
    virtual std::int32_t Position();
    virtual std::int32_t Size();
    virtual std::int32_t Seek(std::int32_t offset);
    virtual void Flush();
    virtual void Close();
    virtual std::int32_t Read(void* buffer, std::int32_t count);
    virtual std::int32_t Write(const void* buffer, std::int32_t count);
};

class TByteStream : public TRawStream {
public:
    // A negative count given to the exact transfers, Skip, ReadText or
    // CopyCount raises the stream error of its direction, so that a reader
    // working from a damaged file declines instead of moving bytes it never
    // meant to.

    // Loops of Read until count bytes arrived or the end is reached; the
    // buffer past the end keeps its contents. Returns count. A Read moving
    // nothing before the end raises TStreamReadError.
    std::int32_t ReadExact(void* buffer, std::int32_t count);
    // Loops of Write; a Write moving nothing raises TStreamWriteError.
    std::int32_t WriteExact(const void* buffer, std::int32_t count);
    // Reads and discards up to count bytes (fewer at the end). Returns count.
    std::int32_t Skip(std::int32_t count);

    // Little-endian values. A read at or across the end gives the bytes it
    // found in the low-order positions and zeros above.
    int ReadU8();
    void WriteU8(int value);
    int ReadU16();
    void WriteU16(int value);
    std::int32_t ReadI32();
    void WriteI32(std::int32_t value);
    std::int64_t ReadI64();
    void WriteI64(std::int64_t value);
    float ReadF32();
    void WriteF32(float value);
    double ReadF64();
    void WriteF64(double value);

    // One line: ends at byte 10, byte 0 or the end of the stream (the
    // terminator is consumed); every byte 13 is dropped.
    Text ReadLine();
    // The text, then bytes 13 and 10.
    void WriteLine(const Text& text);
    // count bytes as count characters; bytes missing at the end become 0.
    Text ReadText(std::int32_t count);
    // One byte per character (its low 8 bits); no terminator, no length.
    void WriteText(const Text& text);
};

using TStreamRef = std::shared_ptr<TByteStream>;

// The same operations as free functions over a stream reference.
bool AtEnd(const TStreamRef& stream);
std::int32_t Position(const TStreamRef& stream);
std::int32_t Size(const TStreamRef& stream);
std::int32_t Seek(const TStreamRef& stream, std::int32_t offset);
void Flush(const TStreamRef& stream);
void Close(const TStreamRef& stream);
int ReadU8(const TStreamRef& stream);
void WriteU8(const TStreamRef& stream, int value);
int ReadU16(const TStreamRef& stream);
void WriteU16(const TStreamRef& stream, int value);
std::int32_t ReadI32(const TStreamRef& stream);
void WriteI32(const TStreamRef& stream, std::int32_t value);
std::int64_t ReadI64(const TStreamRef& stream);
void WriteI64(const TStreamRef& stream, std::int64_t value);
float ReadF32(const TStreamRef& stream);
void WriteF32(const TStreamRef& stream, float value);
double ReadF64(const TStreamRef& stream);
void WriteF64(const TStreamRef& stream, double value);
Text ReadLine(const TStreamRef& stream);
void WriteLine(const TStreamRef& stream, const Text& text);
Text ReadText(const TStreamRef& stream, std::int32_t count);
void WriteText(const TStreamRef& stream, const Text& text);

// Copies until from is at its end, bufferSize bytes per Read.
void CopyAll(const TStreamRef& from, const TStreamRef& to, std::int32_t bufferSize);
// Copies exactly count bytes (zeros for any that lie past from's end).
void CopyCount(const TStreamRef& from, const TStreamRef& to, std::int32_t count,
               std::int32_t bufferSize);

}  // namespace vesk
