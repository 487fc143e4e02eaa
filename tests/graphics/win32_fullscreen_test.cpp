// The full-screen window on Windows: a topmost popup whose display mode
// follows the focus and is given back on every way out. The display needs
// an 800 x 600 mode besides its own (scripts/windows gives its X server
// one); nothing else may run beside these cases.
#include <vesk/graphics/graphics.h>
#include <vesk/runtime/failure.h>
#include <vesk/runtime/startup.h>
#include <vesk/system/platform.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "win32_windows.h"

namespace vesk {
namespace {

using test::EngineWindow;

// The display's mode as the system reports it now.
SIZE CurrentMode() {
    DEVMODEA mode{};
    mode.dmSize = sizeof(mode);
    EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &mode);
    return {static_cast<LONG>(mode.dmPelsWidth), static_cast<LONG>(mode.dmPelsHeight)};
}

bool SameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

class Win32FullScreen : public ::testing::Test {
protected:
    void SetUp() override {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        InitGraphicsModule();
        desktop = CurrentMode();
        if (SameSize(desktop, {800, 600}) || !DisplayModeExists(800, 600, 0, 0))
            GTEST_SKIP() << "the display lists no 800 x 600 mode besides its own";
    }
    SIZE desktop{};
};

TEST_F(Win32FullScreen, TheModeFollowsTheFocusOfATopmostPopup) {
    OpenGraphics(800, 600, 32, 0);
    HWND window = EngineWindow(kFullScreenTitle);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & WS_POPUP, static_cast<LONG>(WS_POPUP));
    EXPECT_NE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    EXPECT_TRUE(GLDisplayModeSwitched());
    EXPECT_TRUE(SameSize(CurrentMode(), {800, 600}));

    // Alt+Tab to another window: the desktop comes back and the popup waits
    // minimised.
    HWND other = CreateWindowExA(0, "STATIC", "other", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    SetForegroundWindow(other);
    SetFocus(other);
    PollEvents();
    EXPECT_FALSE(GLDisplayModeSwitched());
    EXPECT_TRUE(SameSize(CurrentMode(), desktop));
    EXPECT_TRUE(IsIconic(window));

    ShowWindow(window, SW_RESTORE);
    SetForegroundWindow(window);
    SetFocus(window);
    PollEvents();
    EXPECT_TRUE(GLDisplayModeSwitched());
    EXPECT_TRUE(SameSize(CurrentMode(), {800, 600}));

    CloseGraphics();
    EXPECT_TRUE(SameSize(CurrentMode(), desktop));
    DestroyWindow(other);
}

// Each way out runs in a child process; the display is checked afterwards.
void OpenFullScreen() {
    OpenGraphics(800, 600, 32, 0);
    if (!GLDisplayModeSwitched()) std::_Exit(3);  // not what is tested here
}

int OpenThenFail() {
    OpenFullScreen();
    Fail("Unable to calculate tex size");
}

int OpenThenFault() {
    OpenFullScreen();
    volatile int* nowhere = nullptr;
    return *nowhere;
}

// A console of the child's own takes the event; the standard error stays
// the pipe the test reads.
int OpenThenTakeCtrlC() {
    OpenFullScreen();
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    FreeConsole();
    AllocConsole();
    SetStdHandle(STD_ERROR_HANDLE, error);
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
    for (;;) PollEvents();
}

TEST_F(Win32FullScreen, EveryWayOutGivesTheDesktopItsModeBack) {
    EXPECT_EXIT(
        {
            OpenFullScreen();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_TRUE(SameSize(CurrentMode(), desktop));
    EXPECT_EXIT(RunProgram(OpenThenFail), ::testing::ExitedWithCode(-1), "^Unable to calculate tex size$");
    EXPECT_TRUE(SameSize(CurrentMode(), desktop));
    EXPECT_EXIT(RunProgram(OpenThenFault), ::testing::ExitedWithCode(-1), "^Unhandled Memory Exception Error$");
    EXPECT_TRUE(SameSize(CurrentMode(), desktop));
    EXPECT_EXIT(RunProgram(OpenThenTakeCtrlC), ::testing::ExitedWithCode(-1), "^Received Signal$");
    EXPECT_TRUE(SameSize(CurrentMode(), desktop));
}

}  // namespace
}  // namespace vesk
