// The message pump on Windows, on a window of the test's own: real messages
// from the thread's queue reach the input filter and then the window's
// procedure, and the waits wake for a message from another thread.
#include <vesk/system/input.h>
#include <vesk/system/platform.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "system/win32_api.h"
#include <mmsystem.h>

namespace vesk {
namespace {

std::vector<UINT> dispatched;

LRESULT CALLBACK RecordingProcedure(HWND window, UINT id, WPARAM wParam, LPARAM lParam) {
    if (id >= WM_KEYFIRST && id <= WM_MOUSELAST) dispatched.push_back(id);
    return DefWindowProcA(window, id, wParam, lParam);
}

class Win32Pump : public ::testing::Test {
protected:
    void SetUp() override {
        InitSystemModule();
        ResetInput();
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = RecordingProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "VeskPumpTest";
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, "VeskPumpTest", "pump", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        dispatched.clear();
    }
    void TearDown() override { DestroyWindow(window); }

    HWND window = nullptr;
};

TEST_F(Win32Pump, QueuedKeysCharactersAndButtonsReachTheFilterAndTheWindow) {
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(window, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x40010001);  // auto-repeat
    PostMessageA(window, WM_CHAR, 0x00E9, 1);
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(12, 34));
    PostMessageA(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 240), 0);
    EXPECT_EQ(TakeKeyHits(VK_ESCAPE), 2);
    EXPECT_EQ(IsKeyDown(VK_ESCAPE), 1);
    // The pump's translation adds the character of each Escape press
    // (repeats included) behind the messages already queued.
    EXPECT_EQ(NextChar(), 0xE9);
    EXPECT_EQ(NextChar(), VK_ESCAPE);
    EXPECT_EQ(TakeMouseHits(1), 1);
    EXPECT_EQ(MouseAxis(2), 2);
    EXPECT_EQ(dispatched, (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_KEYDOWN, WM_KEYDOWN, WM_CHAR, WM_LBUTTONDOWN,
                                              WM_MOUSEWHEEL, WM_CHAR, WM_CHAR, WM_CHAR}));
}

// The key is sent until the wait has seen it: one sent before the wait
// began would be cleared by its reset.
TEST_F(Win32Pump, WaitingEndsWhenAnotherThreadPostsAKey) {
    const DWORD self = GetCurrentThreadId();
    std::atomic<bool> seen{false};
    std::thread sender([self, &seen] {
        while (!seen) {
            PostThreadMessageA(self, WM_KEYDOWN, 'Q', 0x00100001);
            PostThreadMessageA(self, WM_KEYUP, 'Q', 0xC0100001);
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    EXPECT_EQ(WaitForKey(), 'Q');
    seen = true;
    sender.join();
}

TEST(Win32Clock, FollowsTheSystemsMillisecondsAtAOneMillisecondResolution) {
    InitSystemModule();
    EXPECT_TRUE(TimerResolutionRaised());
    const uint32_t before = ReadClock();
    const DWORD systemBefore = timeGetTime();
    SleepFor(30);
    const uint32_t slept = ReadClock() - before;
    EXPECT_GE(slept, 29u);
    EXPECT_LE(systemBefore - before, 1u) << "the clock is the system's";
}

}  // namespace
}  // namespace vesk
