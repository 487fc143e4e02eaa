#include "pixmap/png_io.h"

#include <vesk/pixmap/png_file.h>

#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <exception>

namespace vesk {
namespace {

TStreamRef currentStream;
std::exception_ptr parkedFailure;

// libpng is C: an exception must not unwind through it. The failure is kept
// and libpng is told to give up, which returns control to the operation's
// setjmp point with no C++ object left half-destroyed.
template <typename Transfer>
void Guarded(png_structp png, Transfer transfer) {
    bool failed = false;
    try {
        transfer(*currentStream);
    } catch (...) {
        parkedFailure = std::current_exception();
        failed = true;
    }
    if (failed) png_error(png, "stream failure");
}

}  // namespace

const TStreamRef& CurrentPngStream() { return currentStream; }

namespace png_io {

TStreamScope::TStreamScope(TStreamRef stream) {
    currentStream = std::move(stream);
    parkedFailure = nullptr;
}

TStreamScope::~TStreamScope() {
    if (!currentStream) return;
    try {
        currentStream->Close();
    } catch (...) {
        // Closing is the last step of an operation that has already
        // succeeded or failed on its own terms; nothing is left to report to.
    }
    currentStream = nullptr;
}

TStreamScope::operator bool() const { return currentStream != nullptr; }

TByteStream& TStreamScope::Stream() const { return *currentStream; }

void ReadData(png_structp png, png_bytep data, size_t length) {
    // Bytes beyond the end of the source stay zero, so a truncated file fails
    // libpng's own checks instead of exposing stale memory.
    std::memset(data, 0, length);
    Guarded(png, [&](TByteStream& s) { s.ReadExact(data, static_cast<int32_t>(length)); });
}

void WriteData(png_structp png, png_bytep data, size_t length) {
    Guarded(png, [&](TByteStream& s) { s.WriteExact(data, static_cast<int32_t>(length)); });
}

void FlushData(png_structp png) {
    Guarded(png, [](TByteStream& s) { s.Flush(); });
}

TPngBudget ReadBudget(TByteStream& stream) {
    constexpr size_t kAllowance = size_t{16} << 20;
    constexpr size_t kGrowth = size_t{1032} * 32;
    const int32_t position = stream.Position();
    const int32_t size = stream.Size();
    if (position < 0) return {kAllowance + size_t{INT32_MAX}, 0};
    const size_t remaining = size > position ? static_cast<size_t>(size - position) : 0;
    return {kAllowance + remaining * kGrowth, 0};
}

// Each block carries its size in front, so that freeing gives it back to
// the budget.
constexpr size_t kBlockHeader = alignof(std::max_align_t);

png_voidp AllocateWithinBudget(png_structp png, png_alloc_size_t size) {
    auto* budget = static_cast<TPngBudget*>(png_get_mem_ptr(png));
    if (size > budget->limit - budget->used) return nullptr;  // libpng reports it as out of memory
    auto* block = static_cast<unsigned char*>(std::malloc(size + kBlockHeader));
    if (!block) return nullptr;
    std::memcpy(block, &size, sizeof size);
    budget->used += size;
    return block + kBlockHeader;
}

void FreeWithinBudget(png_structp png, png_voidp data) {
    if (!data) return;
    auto* budget = static_cast<TPngBudget*>(png_get_mem_ptr(png));
    unsigned char* block = static_cast<unsigned char*>(data) - kBlockHeader;
    png_alloc_size_t size;
    std::memcpy(&size, block, sizeof size);
    budget->used -= size;
    std::free(block);
}

void OnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void OnWarning(png_structp, png_const_charp) {}

void ForgetParkedFailure() { parkedFailure = nullptr; }

void RaiseParkedFailure() {
    if (!parkedFailure) return;
    std::exception_ptr failure = parkedFailure;
    parkedFailure = nullptr;
    std::rethrow_exception(failure);
}

}  // namespace png_io
}  // namespace vesk
