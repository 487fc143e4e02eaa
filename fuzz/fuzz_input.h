// Helpers shared by the fuzz targets: the input seen as a stream, and as a
// source of small numbers that steer a sequence of operations.
#pragma once

#include <vesk/runtime/startup.h>
#include <vesk/stream/memory_stream.h>

#include <algorithm>
#include <csignal>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace vesk::fuzz {

// Runs the runtime's initialiser, then gives the fatal signals back: the
// runtime turns them into a message and a quiet exit, and libFuzzer only
// installs its own handlers (which keep the crashing input) where none is
// set. Every target calls this from LLVMFuzzerInitialize, after the module
// initialisers it needs.
inline void HandSignalsToFuzzer() {
    InitRuntimeModule();
    for (int signalNumber : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGINT, SIGTERM, SIGHUP, SIGQUIT})
        std::signal(signalNumber, SIG_DFL);
}

// A read-only stream over the fuzzer's bytes, the way embedded resources
// reach the readers.
inline std::shared_ptr<TFixedMemoryStream> InputStream(const std::uint8_t* data, std::size_t size) {
    return OpenMemoryBlock(const_cast<std::uint8_t*>(data), static_cast<std::int32_t>(size), true, false);
}

// Takes numbers off the front of the input; an exhausted input gives zeros.
class TOpInput {
public:
    TOpInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool Empty() const { return at_ >= size_; }
    std::size_t Left() const { return size_ - at_; }

    std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }

    std::uint32_t Word() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= std::uint32_t{Byte()} << (8 * i);
        return value;
    }

    // A number in 0 … limit, leaning towards small values.
    std::int32_t Count(std::int32_t limit) {
        std::uint8_t shape = Byte();
        std::uint32_t raw = (shape & 0x80) ? Word() : shape;
        return static_cast<std::int32_t>(raw % (static_cast<std::uint32_t>(limit) + 1));
    }

    // Up to count bytes of the input itself (fewer at its end).
    const std::uint8_t* Take(std::size_t& count) {
        count = std::min(count, Left());
        const std::uint8_t* start = data_ + at_;
        at_ += count;
        return start;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Keeps a value alive so that the reads that made it are not optimised away.
inline volatile unsigned sink;
inline void Consume(unsigned value) { sink = value; }

// A broken promise of the code under test: report it as a crash.
#define VESK_FUZZ_CHECK(condition)                                  \
    do {                                                            \
        if (!(condition)) {                                         \
            __builtin_printf("check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                           \
        }                                                           \
    } while (0)

}  // namespace vesk::fuzz
