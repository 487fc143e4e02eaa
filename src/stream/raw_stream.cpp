// Default raw operations: a stream that supports nothing.
#include <vesk/stream/stream.h>

namespace vesk {

bool TRawStream::AtEnd() { return Position() == Size(); }
std::int32_t TRawStream::Position() { return -1; }
std::int32_t TRawStream::Size() { return 0; }
std::int32_t TRawStream::Seek(std::int32_t) { return -1; }
void TRawStream::Flush() {}
void TRawStream::Close() {}

std::int32_t TRawStream::Read(void*, std::int32_t) { Fail("Stream is not readable"); }

std::int32_t TRawStream::Write(const void*, std::int32_t) { Fail("Stream is not writeable"); }

}  // namespace vesk
