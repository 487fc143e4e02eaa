// Refresh calibration and frame pacing against a scripted clock: the window is
// real (offscreen), the time is the test's.
#include "graphics/gl_driver.h"
#include <vesk/graphics/graphics.h>
#include "graphics/window.h"

#include "support/scripted_platform.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

using test::InstallScriptedPlatform;

// A clock that stands still except when the code under test sleeps: swaps
// take no time, so calibration never sees the display's rate.
std::shared_ptr<test::TScriptedPlatformDriver> OpenPaced(int hertz) {
    auto platform = InstallScriptedPlatform();
    platform->clock = 5000;
    OpenGraphics(768, 576, 0, hertz);
    // The schedule outlives a reopening. A frame far away from any schedule an
    // earlier case in this process can have left behind restarts it here.
    static uint32_t restarts = 0;
    platform->clock += 0x40000000u + ++restarts * 0x01000000u;
    FlipBuffers();
    platform->sleeps.clear();
    return platform;
}

TEST(Calibration, ThreeSwapsOfOnePeriodKeepPacingOff) {
    auto platform = InstallScriptedPlatform();
    int reading = 0;
    // Every swap takes exactly 16 ms at 60 Hz (1000 / 60 = 16).
    platform->clockScript = [&reading] { return static_cast<uint32_t>(((reading++ + 1) / 2) * 16); };
    const uint64_t swapsBefore = GLSwapCount();
    OpenGraphics(768, 576, 0, 60);
    EXPECT_FALSE(GLDriver().PacingActive());
    EXPECT_EQ(GLSwapCount() - swapsBefore, 2u + 3u);  // two clearing swaps, three timed
}

TEST(Calibration, MatchesMustBeConsecutive) {
    auto platform = InstallScriptedPlatform();
    int reading = 0;
    // Two swaps of one period, then one that takes twice as long, over and over.
    platform->clockScript = [&reading] {
        int swap = reading / 2;
        bool after = reading++ % 2 == 1;
        return static_cast<uint32_t>(swap * 100 + (after ? (swap % 3 == 2 ? 33 : 17) : 0));
    };
    const uint64_t swapsBefore = GLSwapCount();
    OpenGraphics(768, 576, 0, 60);
    EXPECT_TRUE(GLDriver().PacingActive());
    EXPECT_EQ(GLSwapCount() - swapsBefore, 2u + 60u);
}

TEST(Calibration, HertzZeroLeavesPacingOffWithoutTimingSwaps) {
    auto platform = InstallScriptedPlatform();
    const uint64_t swapsBefore = GLSwapCount();
    OpenGraphics(768, 576, 0, 0);
    EXPECT_FALSE(GLDriver().PacingActive());
    EXPECT_EQ(GLSwapCount() - swapsBefore, 2u);
    FlipBuffers();
    EXPECT_TRUE(platform->sleeps.empty());
}

TEST(Pacing, SixtyHertzStepsBySixteenOrSeventeenMilliseconds) {
    auto platform = OpenPaced(60);
    ASSERT_TRUE(GLDriver().PacingActive());
    for (int frame = 0; frame < 6; ++frame) FlipBuffers();
    EXPECT_EQ(platform->sleeps, (std::vector<int>{16, 17, 17, 16, 17, 17}));
}

TEST(Pacing, ALateFrameIsPresentedAtOnceAndRestartsTheSchedule) {
    auto platform = OpenPaced(60);
    FlipBuffers();
    FlipBuffers();  // due at 33 ms
    platform->clock += 200;  // the next frame comes far too late
    FlipBuffers();
    FlipBuffers();
    FlipBuffers();
    EXPECT_EQ(platform->sleeps, (std::vector<int>{16, 17, 16, 17}));
}

TEST(Pacing, AStaleScheduleAfterReopeningIsResynchronised) {
    auto platform = OpenPaced(60);
    for (int frame = 0; frame < 120; ++frame) FlipBuffers();
    OpenGraphics(768, 576, 0, 60);  // the accumulator keeps two seconds of schedule
    platform->sleeps.clear();
    FlipBuffers();
    FlipBuffers();
    EXPECT_EQ(platform->sleeps, (std::vector<int>{16}));
}

TEST(Pacing, KeepsItsScheduleForDaysWithoutOverflow) {
#if defined(_WIN32)
    // The same code as on Linux, where a swap of the offscreen window costs
    // nothing; two million real swaps would take minutes here.
    GTEST_SKIP() << "two million swaps of a real window";
#endif
    auto platform = OpenPaced(60);
    // Ten hours of frames on time would overflow a 32-bit accumulator.
    for (int frame = 0; frame < 60 * 60 * 60 * 10; ++frame) FlipBuffers();
    platform->sleeps.clear();
    FlipBuffers();
    FlipBuffers();
    FlipBuffers();
    EXPECT_EQ(platform->sleeps, (std::vector<int>{16, 17, 17}));
}

}  // namespace
}  // namespace vesk
