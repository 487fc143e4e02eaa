// The short soak run: a minute and a half of the show, steered through both
// effect levels, a scroller wrap and a countdown ten minutes below zero.
// scripts/soak runs the long form (30,000 frames, unsteered).
#include "soak_run.h"

#include <gtest/gtest.h>

namespace vesk::soak {
namespace {

TEST(Soak, ShortRunKeepsMemoryAndTheEffectListBounded) {
    TSoakOptions options;
    options.frames = 1600;
    options.warmupFrames = 1000;
    options.steer = true;
    TSoakReport report = RunSoak(options);
    EXPECT_EQ(report.failure, "") << Describe(report);
    EXPECT_EQ(report.frames, options.frames);
    EXPECT_EQ(report.maxEffectLevel, 2);
    EXPECT_EQ(report.maxStars, 800);
    EXPECT_GT(report.maxSpiralPoints, 300);
    EXPECT_GE(report.scrollerWraps, 1);
    EXPECT_GT(report.lastElapsedMs, 132000 + 5 * 60 * 1000);  // the countdown far below zero
}

}  // namespace
}  // namespace vesk::soak
