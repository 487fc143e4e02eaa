// The scroller driven by a scripted clock: its text, when it steps, when the
// control letters take effect, and where each window slot is drawn in each
// motion.
#include "intro/scroll_text.h"
#include "intro/scroller.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <map>

namespace vesk {
namespace {

TEST(ScrollText, HasItsLengthAndControlLettersInPlace) {
    const Text text = AssembleScrollText();
    ASSERT_EQ(text.size(), 776u);
    std::map<std::size_t, char16_t> controls;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= u'a' && text[i] <= u'z') controls[i] = text[i];
    }
    const std::map<std::size_t, char16_t> expected{{161, u'a'}, {303, u'd'}, {421, u'z'},
                                                   {444, u'f'}, {582, u'y'}, {583, u'e'}};
    EXPECT_EQ(controls, expected);
    EXPECT_EQ(text.substr(0, 160), Text(160, u' '));
    EXPECT_EQ(text.substr(162, 7), u"ON N'Y ");
    const Text ending = u"SCREEN ?     LET'S WR" + Text(27, u'A') + u"P... " + Text(20, u' ');
    EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
}

using TModeLevel = std::pair<int32_t, int32_t>;

struct TStepRecord {
    double seconds;
    int32_t scrollPos;
    char16_t entering;
};

// Runs the scroller on a 60 Hz clock for the given time and records every
// step with the time it happened.
std::vector<TStepRecord> RunAt60Hz(TScroller& scroller, double seconds) {
    std::vector<TStepRecord> steps;
    for (int64_t frame = 0; frame * 1000 / 60 <= seconds * 1000; ++frame) {
        const int64_t elapsedMs = frame * 1000 / 60;
        const int32_t before = scroller.scrollPos;
        scroller.Advance(static_cast<int32_t>(elapsedMs / 10));
        if (scroller.scrollPos != before) {
            steps.push_back({elapsedMs / 1000.0, scroller.scrollPos,
                             scroller.scrollText[scroller.scrollPos + kScrollWindow - 1]});
        }
    }
    return steps;
}

TEST(Scroller, ControlLettersTakeEffectOnTimeAndTheWindowWraps) {
    TScroller scroller;
    scroller.Reset(AssembleScrollText());
    scroller.Advance(0);
    EXPECT_EQ(scroller.scrollPos, 0);  // both offsets are 0: no step

    std::map<char16_t, double> entered;
    double wrapped = 0;
    TScroller probe = scroller;
    for (const TStepRecord& step : RunAt60Hz(probe, 130)) {
        if (step.entering >= u'a' && step.entering <= u'z' && !entered.count(step.entering)) {
            entered[step.entering] = step.seconds;
        }
        if (step.scrollPos == 0 && wrapped == 0) wrapped = step.seconds;
    }
    EXPECT_NEAR(entered[u'a'], 22.7, 0.06);
    EXPECT_NEAR(entered[u'd'], 45.4, 0.06);
    EXPECT_NEAR(entered[u'z'], 64.3, 0.06);
    EXPECT_NEAR(entered[u'f'], 68.0, 0.06);
    EXPECT_NEAR(entered[u'y'], 92.8, 0.15);
    EXPECT_NEAR(entered[u'e'] - entered[u'y'], 0.18, 0.02);
    EXPECT_NEAR(wrapped, 127.6, 0.2);
    EXPECT_EQ(probe.scrollMode, SCROLL_CIRCLE);
    EXPECT_EQ(probe.effectLevel, 2);  // never falls back

    // Mode and level just after each letter entered.
    auto stateAt = [&](double seconds) {
        TScroller s = scroller;
        RunAt60Hz(s, seconds);
        return TModeLevel(s.scrollMode, s.effectLevel);
    };
    EXPECT_EQ(stateAt(entered[u'd'] - 0.02), TModeLevel(SCROLL_LINE, 0));
    EXPECT_EQ(stateAt(entered[u'd']), TModeLevel(SCROLL_WAVE_SWING, 0));
    EXPECT_EQ(stateAt(entered[u'z']), TModeLevel(SCROLL_WAVE_SWING, 1));
    EXPECT_EQ(stateAt(entered[u'f']), TModeLevel(SCROLL_CIRCLE_SWING, 1));
    EXPECT_EQ(stateAt(entered[u'y']), TModeLevel(SCROLL_CIRCLE_SWING, 2));
    EXPECT_EQ(stateAt(entered[u'e']), TModeLevel(SCROLL_CIRCLE, 2));
}

TEST(Scroller, AFrameLongerThanHalfACharacterLosesItsStep) {
    TScroller slow;
    slow.Reset(AssembleScrollText());
    for (int32_t centis : {0, 7, 17}) slow.Advance(centis);  // offsets 0, 21, 3
    EXPECT_EQ(slow.scrollPos, 0);

    TScroller quick;
    quick.Reset(AssembleScrollText());
    for (int32_t centis : {0, 10, 17}) quick.Advance(centis);  // offsets 0, 30, 3
    EXPECT_EQ(quick.scrollPos, 1);

    // The lost step is never made up; an offset of exactly half does not count.
    for (int32_t centis : {33, 40, 48}) slow.Advance(centis);
    EXPECT_EQ(slow.scrollPos, 0);
    for (int32_t centis : {57, 64}) slow.Advance(centis);
    EXPECT_EQ(slow.scrollPos, 1);
}

// A scroller whose window starts at the text's first words, moved to the
// clock in the given mode.
TScroller WindowAt(int32_t mode, int32_t centis) {
    TScroller scroller;
    scroller.Reset(AssembleScrollText());
    scroller.scrollPos = 162;
    scroller.scrollMode = mode;
    scroller.Advance(centis);
    return scroller;
}

TEST(Scroller, LineAndWaveSlotsRunAcrossTheScreen) {
    const TScroller line = WindowAt(SCROLL_LINE, 5);  // offset 15 of 48
    ASSERT_EQ(line.scrollPos, 162);
    const TSlotPlacement first = line.PlaceSlot(0, 5);
    EXPECT_EQ(first.character, u'O');
    EXPECT_EQ(first.x, -63);
    EXPECT_EQ(first.y, 490);
    EXPECT_EQ(first.rotation, 0);
    EXPECT_FLOAT_EQ(first.alpha, 1 - 15 / 48.0);
    const TSlotPlacement middle = line.PlaceSlot(10, 5);
    EXPECT_EQ(middle.x, 417);
    EXPECT_EQ(middle.alpha, 1);
    const TSlotPlacement last = line.PlaceSlot(19, 5);
    EXPECT_EQ(last.x, 849);
    EXPECT_FLOAT_EQ(last.alpha, 15 / 48.0);

    const TSlotPlacement swinging = WindowAt(SCROLL_LINE_SWING, 5).PlaceSlot(3, 5);
    EXPECT_EQ(swinging.x, 3 * 48 + 48 - 15 - 480 + 384);
    EXPECT_FLOAT_EQ(swinging.rotation, static_cast<float>(70 * std::sin(10 * std::numbers::pi / 180)));

    const TScroller wave = WindowAt(SCROLL_WAVE, 5);
    EXPECT_EQ(wave.PlaceSlot(19, 5).y, 396);  // a = 15: 430 - 50 sin 42
    EXPECT_EQ(wave.PlaceSlot(0, 5).y, 396);   // a = 927: 430 - 50 sin 498
    EXPECT_EQ(wave.PlaceSlot(10, 5).y, 478);  // a = 447: 430 - 50 sin 258
    EXPECT_EQ(wave.PlaceSlot(10, 5).x, 417);
    EXPECT_EQ(wave.PlaceSlot(10, 5).rotation, 0);
    EXPECT_FLOAT_EQ(WindowAt(SCROLL_WAVE_SWING, 5).PlaceSlot(10, 5).rotation, swinging.rotation);
}

TEST(Scroller, CircleSlotsSpanTheWholeTurn) {
    const TScroller circle = WindowAt(SCROLL_CIRCLE, 5);  // offset 5 of 18 degrees
    ASSERT_EQ(circle.charPitch, 18);
    const TSlotPlacement last = circle.PlaceSlot(19, 5);  // a = 5
    EXPECT_EQ(last.x, 593);
    EXPECT_EQ(last.y, 269);
    EXPECT_EQ(last.rotation, 85);
    EXPECT_FLOAT_EQ(last.alpha, 5 / 18.0);
    const TSlotPlacement first = circle.PlaceSlot(0, 5);  // a = 347
    EXPECT_EQ(first.x, 588);
    EXPECT_EQ(first.y, 335);
    EXPECT_EQ(first.rotation, -257);
    EXPECT_FLOAT_EQ(first.alpha, 1 - 5 / 18.0);
    const TSlotPlacement top = circle.PlaceSlot(15, 5);  // a = 77
    EXPECT_EQ(top.x, 431);
    EXPECT_EQ(top.y, 83);

    const TSlotPlacement swinging = WindowAt(SCROLL_CIRCLE_SWING, 5).PlaceSlot(15, 5);
    EXPECT_EQ(swinging.x, 431);
    EXPECT_FLOAT_EQ(swinging.rotation, static_cast<float>(70 * std::sin(10 * std::numbers::pi / 180)));
}

}  // namespace
}  // namespace vesk
