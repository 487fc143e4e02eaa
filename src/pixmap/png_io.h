// libpng's side of the PNG module: the current stream that its data
// callbacks read and write, and error handling without exceptions crossing
// libpng's C frames. A stream failure inside a callback is parked and turned
// into a libpng error; the caller re-raises it once libpng is torn down.
#pragma once

#include "stream/stream.h"

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

// Silent handlers: a libpng error unwinds to the operation's setjmp point,
// warnings are dropped (the engine writes nothing to the console).
[[noreturn]] void OnError(png_structp png, png_const_charp message);
void OnWarning(png_structp png, png_const_charp message);

// Raises the failure parked by a callback, if any, and forgets it.
void RaiseParkedFailure();

}  // namespace vesk::png_io
