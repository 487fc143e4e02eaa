// The input filter fed with raw window messages, as the pump hands them over.
#include <vesk/system/input.h>

#include <gtest/gtest.h>

namespace vesk {
namespace {

constexpr uint32_t kRepeat = kKeyPreviousDownBit;
constexpr uint32_t kUp = kKeyPreviousDownBit | kKeyReleasedBit;

uint32_t ScanParam(uint32_t scanCode, bool extended = false) {
    return 1 | (scanCode << 16) | (extended ? kKeyExtendedBit : 0);
}

TEST(InputFilter, AHeldKeyCountsOnceAndANewPressNeedsARelease) {
    TInputState input;
    input.Filter(WM_KEYDOWN, 65, 0);
    input.Filter(WM_KEYDOWN, 65, kRepeat);  // auto-repeat
    input.Filter(WM_KEYDOWN, 65, 0);        // no release in between
    EXPECT_EQ(input.IsKeyDown(65), 1);
    EXPECT_EQ(input.TakeKeyHits(65), 1);
    input.Filter(WM_KEYUP, 65, kUp);
    EXPECT_EQ(input.IsKeyDown(65), 0);
    input.Filter(WM_KEYDOWN, 65, 0);
    EXPECT_EQ(input.TakeKeyHits(65), 1);
}

TEST(InputFilter, HitsAccumulateBetweenQueriesAndSurviveReleases) {
    TInputState input;
    for (int i = 0; i < 2; ++i) {
        input.Filter(WM_KEYDOWN, VK_ESCAPE, 0);
        input.Filter(WM_KEYUP, VK_ESCAPE, kUp);
    }
    EXPECT_EQ(input.TakeKeyHits(VK_ESCAPE), 2);
    EXPECT_EQ(input.TakeKeyHits(VK_ESCAPE), 0);
}

TEST(InputFilter, HitCountersWrapAt256) {
    TInputState input;
    for (int i = 0; i < 257; ++i) {
        input.Filter(WM_KEYDOWN, 66, 0);
        input.Filter(WM_KEYUP, 66, kUp);
    }
    EXPECT_EQ(input.TakeKeyHits(66), 1);
}

TEST(InputFilter, ModifiersAlsoPressTheirSidedCodes) {
    TInputState input;
    input.Filter(WM_KEYDOWN, VK_SHIFT, ScanParam(42));
    EXPECT_EQ(input.TakeKeyHits(VK_SHIFT), 1);
    EXPECT_EQ(input.TakeKeyHits(VK_LSHIFT), 1);
    EXPECT_EQ(input.IsKeyDown(VK_RSHIFT), 0);
    input.Filter(WM_KEYUP, VK_SHIFT, ScanParam(42) | kUp);
    EXPECT_EQ(input.IsKeyDown(VK_SHIFT), 0);
    EXPECT_EQ(input.IsKeyDown(VK_LSHIFT), 0);

    input.Filter(WM_KEYDOWN, VK_SHIFT, ScanParam(54));
    EXPECT_EQ(input.IsKeyDown(VK_RSHIFT), 1);
    input.Filter(WM_KEYDOWN, VK_CONTROL, ScanParam(29, true));
    input.Filter(WM_SYSKEYDOWN, VK_MENU, ScanParam(56));
    EXPECT_EQ(input.IsKeyDown(VK_RCONTROL), 1);
    EXPECT_EQ(input.IsKeyDown(VK_LCONTROL), 0);
    EXPECT_EQ(input.IsKeyDown(VK_LMENU), 1);
    EXPECT_EQ(input.IsKeyDown(VK_RMENU), 0);
    input.Filter(WM_SYSKEYUP, VK_MENU, ScanParam(56) | kUp);
    EXPECT_EQ(input.IsKeyDown(VK_MENU), 0);
    EXPECT_EQ(input.IsKeyDown(VK_LMENU), 0);
}

TEST(InputFilter, MouseButtonsShareTheKeyTables) {
    TInputState input;
    input.Filter(WM_LBUTTONDOWN, 1, 0);
    input.Filter(WM_LBUTTONUP, 0, 0);
    input.Filter(WM_RBUTTONDOWN, 2, 0);
    input.Filter(WM_MBUTTONDOWN, 16, 0);
    EXPECT_EQ(input.TakeKeyHits(1), 1);
    EXPECT_EQ(input.IsKeyDown(1), 0);
    EXPECT_EQ(input.IsKeyDown(2), 1);
    EXPECT_EQ(input.TakeKeyHits(4), 1);
}

TEST(InputFilter, PointerPositionIsSignedAndTheWheelCountsWholeNotches) {
    TInputState input;
    input.Filter(WM_MOUSEMOVE, 0, (0xFFFEu << 16) | 0xFFFFu);
    EXPECT_EQ(input.MouseAxis(0), -1);
    EXPECT_EQ(input.MouseAxis(1), -2);
    input.Filter(WM_MOUSEMOVE, 0, (576u << 16) | 768u);
    EXPECT_EQ(input.MouseAxis(0), 768);
    EXPECT_EQ(input.MouseAxis(1), 576);

    input.Filter(WM_MOUSEWHEEL, 119u << 16, 0);
    input.Filter(WM_MOUSEWHEEL, 119u << 16, 0);  // deltas do not add up
    EXPECT_EQ(input.MouseAxis(2), 0);
    input.Filter(WM_MOUSEWHEEL, 240u << 16, 0);
    input.Filter(WM_MOUSEWHEEL, static_cast<uint32_t>(static_cast<uint16_t>(-359)) << 16, 0);
    EXPECT_EQ(input.MouseAxis(2), 0);  // 2 - 2: -359 truncates towards zero
    EXPECT_EQ(input.MouseAxis(3), 0);
}

TEST(InputFilter, TheCharacterQueueHolds256AndDropsTheRest) {
    TInputState input;
    for (uint32_t i = 0; i < 257; ++i) input.Filter(i % 2 ? WM_SYSCHAR : WM_CHAR, 0x10000 + 1000 + i, 0);
    for (int i = 0; i < 256; ++i) ASSERT_EQ(input.NextChar(), 1000 + i);
    EXPECT_EQ(input.NextChar(), 0);
    input.Filter(WM_CHAR, 'x', 0);
    EXPECT_EQ(input.NextChar(), 'x');
}

TEST(InputFilter, CodesOutsideTheTablesGiveZeroAndResetKeepsThePointer) {
    TInputState input;
    input.Filter(WM_KEYDOWN, 300, 0);
    input.Filter(WM_KEYDOWN, 0, 0);
    EXPECT_EQ(input.TakeKeyHits(0), 0);
    EXPECT_EQ(input.TakeKeyHits(256), 0);
    EXPECT_EQ(input.IsKeyDown(-1), 0);

    input.Filter(WM_KEYDOWN, 70, 0);
    input.Filter(WM_CHAR, 'f', 0);
    input.Filter(WM_MOUSEMOVE, 0, (5u << 16) | 7u);
    input.Reset();
    EXPECT_EQ(input.IsKeyDown(70), 0);
    EXPECT_EQ(input.TakeKeyHits(70), 0);
    EXPECT_EQ(input.NextChar(), 0);
    EXPECT_EQ(input.MouseAxis(0), 7);
}

}  // namespace
}  // namespace vesk
