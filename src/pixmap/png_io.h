// libpng's side of the PNG module: the current stream that its data
// callbacks read and write, and error handling without exceptions crossing
// libpng's C frames. A stream failure inside a callback is parked and turned
// into a libpng error; the caller re-raises it once libpng is torn down.
#pragma once

#include <vesk/stream/stream.h>

#include <png.h>

namespace vesk::png_io {

// Installs the current stream for the lifetime of one operation; the stream
// is closed and the global cleared when the scope ends, whatever the exit.
class TStreamScope {
public:
    explicit TStreamScope(TStreamRef stream);
    TStreamScope(const TStreamScope&) = delete;
    TStreamScope& operator=(const TStreamScope&) = delete;
    ~TStreamScope();

    explicit operator bool() const;
    TByteStream& Stream() const;
};

void ReadData(png_structp png, png_bytep data, size_t length);
void WriteData(png_structp png, png_bytep data, size_t length);
void FlushData(png_structp png);

// What libpng may hold at once while it reads one image. A few header bytes
// can declare an image of a million by a million pixels, for which libpng
// would allocate every row before it finds that the data is missing; the
// budget stops that at what the stream's remaining bytes could possibly
// expand to, and libpng then fails as for any damaged file.
struct TPngBudget {
    size_t limit = 0;
    size_t used = 0;
};

// The budget for reading what lies between the stream's position and its
// end: a fixed allowance for libpng's own state, plus the most that deflate
// (at most 1032 bytes out per byte in) and the widening transforms (up to 32
// bits per 1-bit pixel) can make of those bytes. A stream that cannot tell
// its size gets room for the largest pixmap.
TPngBudget ReadBudget(TByteStream& stream);

// libpng's allocator callbacks; the budget is libpng's memory pointer.
png_voidp AllocateWithinBudget(png_structp png, png_alloc_size_t size);
void FreeWithinBudget(png_structp png, png_voidp block);

// Silent handlers: a libpng error unwinds to the operation's setjmp point,
// warnings are dropped (the engine writes nothing to the console).
[[noreturn]] void OnError(png_structp png, png_const_charp message);
void OnWarning(png_structp png, png_const_charp message);

// Raises the failure parked by a callback, if any, and forgets it.
void RaiseParkedFailure();
// Forgets the parked failure, for a caller that raises a fuller one instead.
void ForgetParkedFailure();

}  // namespace vesk::png_io
