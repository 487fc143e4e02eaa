// The intro's frame loop under a scripted platform: it ends on Escape, reads
// the time once per frame, and keeps its time base across a clock wrap; its
// steps run once each and nothing outside the run. Each case runs the intro in
// a child process, since it runs once per process.
#include "graphics/window.h"
#include "intro/intro.h"
#include "intro/random.h"

#include "support/scripted_platform.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace vesk {
namespace {

using test::TScriptedPlatformDriver;

class IntroSpine : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

// Runs the intro with Escape arriving at the given poll (the first poll comes
// before the first frame), the clock advancing `step` ms per poll from
// `start`, then checks the outcome in the child and exits 0 when it holds.
void RunIntroUntilEscape(int escapePoll, uint32_t start, uint32_t step, uint64_t expectedFrames,
                         int64_t expectedElapsed) {
    auto platform = test::InstallScriptedPlatform();
    platform->clock = start;
    platform->sleepAdvancesClock = false;
    platform->onPoll = [escapePoll, step](TScriptedPlatformDriver& driver) {
        driver.clock += step;
        if (driver.polls == escapePoll) driver.Inject(WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    };
    if (RunIntro() != 0) std::exit(1);
    if (IntroFrameCount() != expectedFrames) std::exit(2);
    if (IntroClock().elapsedMs != expectedElapsed) std::exit(3);
    if (IntroClock().centis != static_cast<int32_t>(expectedElapsed / 10)) std::exit(4);
    if (RunIntro() != 0 || IntroFrameCount() != expectedFrames) std::exit(5);  // runs once only
    std::exit(0);
}

TEST_F(IntroSpine, EndsOnEscapeAfterTheFramesBeforeIt) {
    // Only polls advance the clock here; pacing's sleeps take no time.
    EXPECT_EXIT(RunIntroUntilEscape(6, 1000, 10, 5, 50), ::testing::ExitedWithCode(0), "");
}

TEST_F(IntroSpine, EscapeBeforeTheFirstFrameDrawsNothing) {
    EXPECT_EXIT(
RunIntroUntilEscape(1, 0, 0, 0, 0),
        ::testing::ExitedWithCode(0), "");
}

TEST_F(IntroSpine, ElapsedTimeStaysRightAcrossAClockWrap) {
    // Start 25 ms before the 32-bit clock wraps; ten frames of 10 ms each.
    EXPECT_EXIT(RunIntroUntilEscape(11, 0xFFFFFFFFu - 24, 10, 10, 100), ::testing::ExitedWithCode(0), "");
}

TEST_F(IntroSpine, PresentsOneFrameForEachStep) {
    EXPECT_EXIT(
        {
            test::InstallScriptedPlatform();
            if (!StartIntro()) std::exit(1);
            const uint64_t swapsAtStart = GLSwapCount();
            for (int frame = 0; frame < 3; ++frame) RunIntroFrame();
            std::exit(GLSwapCount() - swapsAtStart == 3 && IntroFrameCount() == 3 ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(IntroSpine, StepsOutsideTheRunDoNothing) {
    EXPECT_EXIT(
        {
            test::InstallScriptedPlatform();
            RunIntroFrame();  // before start-up
            EndIntro();
            if (IntroFrameCount() != 0 || !StartIntro() || StartIntro()) std::exit(1);
            RunIntroFrame();
            EndIntro();
            if (GLContextLive()) std::exit(2);  // the end closes the window
            RunIntroFrame();  // after the end
            if (IntroFrameCount() != 1 || StartIntro() || RunIntro() != 0) std::exit(3);
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(IntroSpine, AHeldClockLeavesThePauseOutOfTheShowTime) {
    EXPECT_EXIT(
        {
            auto platform = test::InstallScriptedPlatform();
            platform->sleepAdvancesClock = false;
            HoldIntroClock();  // before start-up: nothing to hold
            if (IntroClockHeld() || !StartIntro()) std::exit(1);
            platform->clock += 100;
            RunIntroFrame();
            HoldIntroClock();
            platform->clock += 5000;
            RunIntroFrame();  // held: no frame
            if (IntroFrameCount() != 1 || IntroClock().elapsedMs != 100) std::exit(2);
            ReleaseIntroClock();
            platform->clock += 20;
            RunIntroFrame();
            std::exit(IntroFrameCount() == 2 && IntroClock().elapsedMs == 120 ? 0 : 3);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(IntroSpine, PlayAgainStartsTheShowFromItsStart) {
    EXPECT_EXIT(
        {
            auto platform = test::InstallScriptedPlatform();
            platform->sleepAdvancesClock = false;
            if (ReplayIntro() || !StartIntro() || ReplayIntro()) std::exit(1);  // only after an end
            platform->clock += 70000;
            RunIntroFrame();
            // A show well under way: text moved on, stars out, the sequence drawn from.
            TIntroShow& show = IntroShow();
            show.scroller.scrollPos = 402;
            show.scroller.scrollMode = 11;
            show.scroller.effectLevel = 1;
            show.effects.Append(NewStar());
            HoldIntroClock();
            EndIntro();
            if (!ReplayIntro() || ReplayIntro()) std::exit(2);
            if (!GLContextLive() || show.clock.elapsedMs != 0 || show.clock.centis != 0 ||
                show.scroller.scrollPos != 0 || show.scroller.scrollMode != 0 || show.scroller.effectLevel != 0 ||
                show.effects.Count() != 0 || RandomState() != kRandomStartState || IntroClockHeld())
                std::exit(3);
            platform->clock += 30;
            RunIntroFrame();
            std::exit(IntroClock().elapsedMs == 30 && IntroFrameCount() == 2 ? 0 : 4);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vesk
