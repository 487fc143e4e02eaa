// The frame timer and the program's event queue, on a scripted clock.
#include <vesk/system/platform.h>

#include "support/scripted_platform.h"

#include <gtest/gtest.h>

#include <limits>

namespace vesk {
namespace {

TEST(FrameTimer, SleepsUntilTheNextTickAndCountsMissedPeriods) {
    auto platform = test::InstallScriptedPlatform();
    platform->clock = 1000;
    auto timer = NewFrameTimer(60.0f);
    EXPECT_EQ(timer->period, 16u);
    platform->clock = 1005;
    EXPECT_EQ(WaitFrameTimer(*timer), 1);
    ASSERT_EQ(platform->sleeps.size(), 1u);
    EXPECT_EQ(platform->sleeps[0], 11);
    EXPECT_EQ(timer->lastTick, 1016u);

    platform->clock = 1016 + 50;  // three periods and a bit later
    EXPECT_EQ(WaitFrameTimer(*timer), 3);
    EXPECT_EQ(timer->lastTick, 1064u);
    EXPECT_EQ(platform->sleeps.size(), 1u);
}

TEST(FrameTimer, KeepsTimeAcrossAWrapOfTheClock) {
    auto platform = test::InstallScriptedPlatform();
    platform->clock = 0xFFFFFFF0u;
    auto timer = NewFrameTimer(50.0f);
    platform->clock = 0x00000010u;  // 32 ms later
    EXPECT_EQ(WaitFrameTimer(*timer), 1);
    EXPECT_EQ(timer->lastTick, 0x00000004u);
}

TEST(FrameTimer, ARateWithoutAPeriodTicksAtEveryWait) {
    auto platform = test::InstallScriptedPlatform();
    platform->clock = 500;
    for (float hertz : {0.0f, -50.0f, std::numeric_limits<float>::quiet_NaN()}) {
        SCOPED_TRACE(hertz);
        auto timer = NewFrameTimer(hertz);
        EXPECT_EQ(timer->period, 0u);
        EXPECT_EQ(WaitFrameTimer(*timer), 1);
    }
    EXPECT_TRUE(platform->sleeps.empty());
    EXPECT_EQ(NewFrameTimer(1e-9f)->period, std::numeric_limits<uint32_t>::max());
}

TEST(PlatformQueries, PollBeforeAnsweringAndButtonsOutsideOneToThreeGiveZero) {
    auto platform = test::InstallScriptedPlatform();
    platform->Inject(WM_KEYDOWN, 27, 0);
    EXPECT_EQ(TakeKeyHits(27), 1);
    EXPECT_EQ(platform->polls, 1);
    EXPECT_EQ(TakeMouseHits(4), 0);
    EXPECT_EQ(IsMouseDown(0), 0);
    platform->Inject(WM_RBUTTONDOWN);
    DiscardMouseHits();
    EXPECT_EQ(IsMouseDown(2), 1);
    EXPECT_EQ(TakeMouseHits(2), 0);
}

TEST(PlatformQueries, WaitForKeyAndCharForgetWhatCameBefore) {
    auto platform = test::InstallScriptedPlatform();
    platform->Inject(WM_KEYDOWN, 66, 0);
    platform->Inject(WM_CHAR, 'b', 0);
    int polls = 0;
    platform->onPoll = [&polls](test::TScriptedPlatformDriver& driver) {
        if (++polls == 3) {
            driver.Inject(WM_KEYDOWN, 90, 0);
            driver.Inject(WM_CHAR, 'z', 0);
        }
    };
    EXPECT_EQ(WaitForKey(), 90);
    polls = 0;
    EXPECT_EQ(WaitForChar(), 'z');
}

TEST(EventQueue, HoldsUpTo256EventsInOrder) {
    InitSystemModule();
    for (int i = 0; i < 256; ++i) {
        auto event = std::make_shared<TEvent>();
        event->id = i;
        ASSERT_TRUE(PostEvent(event));
    }
    EXPECT_FALSE(PostEvent(std::make_shared<TEvent>()));
    EXPECT_EQ(CountEvents(), 256);
    EXPECT_EQ(PeekEvent()->id, 0);
    EXPECT_EQ(PollEvent()->id, 0);
    EXPECT_EQ(WaitEvent()->id, 1);
    FlushEvents();
    EXPECT_EQ(PollEvent(), nullptr);
}

}  // namespace
}  // namespace vesk
