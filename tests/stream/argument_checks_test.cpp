// Negative sizes and counts: buffers and memory blocks refuse them with a
// reason; the exact transfers raise their stream error, which readers take
// as a decline.
#include <gtest/gtest.h>

#include <vesk/stream/buffer_stream.h>
#include <vesk/stream/memory_stream.h>
#include "support/failure_checks.h"

namespace vesk {
namespace {

using test::FailsWith;

TEST(StreamArguments, NegativeBufferAndBlockSizesAreRefused) {
    std::uint8_t memory[8] = {};
    EXPECT_TRUE(FailsWith([] { Allocate(-1); }, "Invalid byte count"));
    EXPECT_TRUE(FailsWith([&] { OverMemory(memory, -8); }, "Invalid byte count"));
    EXPECT_TRUE(FailsWith([&] { OpenMemoryBlock(memory, -8, true, false); }, "Invalid byte count"));
    auto buffer = Allocate(4);
    EXPECT_TRUE(FailsWith([&] { Resize(buffer, -1); }, "Invalid byte count"));
    EXPECT_EQ(buffer->Size(), 4);
    EXPECT_TRUE(FailsWith([&] { CopyBytes(buffer, 0, buffer, 1, -2); }, "Invalid byte count"));
}

TEST(StreamArguments, NegativeTransferCountsAreStreamErrorsWithAReason) {
    std::uint8_t memory[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    auto stream = OpenMemoryBlock(memory, 8, true, true);
    std::uint8_t bytes[8] = {};
    EXPECT_TRUE(FailsWith([&] { stream->ReadExact(bytes, -1); }, "Error reading from stream"));
    EXPECT_THROW(stream->ReadExact(bytes, -1), TStreamReadError);
    EXPECT_THROW(stream->Skip(-3), TStreamReadError);
    EXPECT_THROW(stream->ReadText(-2), TStreamReadError);
    EXPECT_THROW(ReadFrom(Allocate(8), stream, 0, -4), TStreamReadError);
    EXPECT_TRUE(FailsWith([&] { stream->WriteExact(bytes, -1); }, "Error writing to stream"));
    EXPECT_THROW(stream->WriteExact(bytes, -1), TStreamWriteError);
    EXPECT_EQ(stream->Position(), 0);
}

}  // namespace
}  // namespace vesk
