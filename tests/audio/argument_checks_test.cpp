// Sample lengths that are negative, or whose bytes no 32-bit count can hold,
// are refused at the call with a reason.
#include <vesk/audio/sample.h>

#include "support/failure_checks.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

using test::FailsWith;

TEST(SampleArguments, NegativeAndUncountableLengthsAreRefused) {
    uint8_t frames[4] = {};
    EXPECT_TRUE(FailsWith([] { CreateSample(-1, 44100, SampleMono8); }, "Invalid sample length"));
    EXPECT_TRUE(FailsWith([&] { WrapSample(frames, -1, 44100, SampleMono8); }, "Invalid sample length"));
    EXPECT_TRUE(FailsWith([] { CreateSample(1 << 30, 44100, SampleStereo16LE); }, "Invalid sample length"));
    // Widening to the mixer's format is where a long mono sample outgrows the count.
    auto longMono = WrapSample(frames, 600000000, 44100, SampleMono8);
    EXPECT_TRUE(FailsWith([&] { longMono->Convert(SampleStereo16LE); }, "Invalid sample length"));
    EXPECT_EQ(CreateSample(0, 44100, SampleMono8)->capacity, 0);
}

}  // namespace
}  // namespace vesk
