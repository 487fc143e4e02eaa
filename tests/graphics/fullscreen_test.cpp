// Full-screen windows on a real X server: the mode switch while the window is
// made, focus loss and regain, 24 and 32 bits as one depth, and the desktop
// mode given back on every way the program can end, crashes included.
#include <vesk/graphics/graphics.h>
#include "graphics/window.h"
#include <vesk/runtime/failure.h>
#include <vesk/runtime/startup.h>
#include <vesk/system/platform.h>

#include "support/scripted_platform.h"
#include "support/x_server_test.h"

#include <SDL_syswm.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <sys/mman.h>
#include <vector>

namespace vesk {
namespace {

class FullScreenOnX : public test::XServerTest {
protected:
    void ExpectScreenMode(int width, int height) {
        int w = 0, h = 0;
        server.CurrentMode(w, h);
        EXPECT_EQ(w, width);
        EXPECT_EQ(h, height);
    }
};

TEST_F(FullScreenOnX, ThirtyTwoAndTwentyFourBitsNameTheSameModes) {
    EXPECT_TRUE(DisplayModeExists(800, 600, 32, 0));
    EXPECT_TRUE(DisplayModeExists(800, 600, 24, 0));
    EXPECT_FALSE(DisplayModeExists(800, 600, 16, 0));
    OpenGraphics(800, 600, 32, 0);
    EXPECT_TRUE(GLDisplayModeSwitched());
    ExpectScreenMode(800, 600);
}

TEST_F(FullScreenOnX, TheModeIsSwitchedBeforeTheClearingSwapsAndTheCalibration) {
    auto platform = test::InstallScriptedPlatform();
    std::vector<bool> switchedAtReading;
    uint32_t now = 0;
    platform->clockScript = [&] {
        switchedAtReading.push_back(GLDisplayModeSwitched());
        return now += 16;  // one 60 Hz period per swap: calibration ends after three
    };
    OpenGraphics(800, 600, 32, 60);
    ASSERT_FALSE(switchedAtReading.empty());
    EXPECT_EQ(std::count(switchedAtReading.begin(), switchedAtReading.end(), false), 0);
    ExpectScreenMode(800, 600);
}

TEST_F(FullScreenOnX, LosingTheFocusRestoresTheDesktopAndMinimisesAndRegainingItSwitchesAgain) {
    Display* x = server.Connection();
    const Window root = DefaultRootWindow(x);
    XSelectInput(x, root, SubstructureNotifyMask);  // sees the request to minimise
    OpenGraphics(640, 480, 32, 0);
    ASSERT_TRUE(GLDisplayModeSwitched());
    ExpectScreenMode(640, 480);

    const Window other = XCreateSimpleWindow(x, root, 0, 0, 100, 100, 0, 0, 0);
    XMapWindow(x, other);
    XSync(x, False);
    XSetInputFocus(x, other, RevertToParent, CurrentTime);
    XSync(x, False);
    ASSERT_TRUE(PumpUntil([] { return !GLDisplayModeSwitched(); }));
    ExpectScreenMode(1024, 768);
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    ASSERT_TRUE(SDL_GetWindowWMInfo(SDL_GL_GetCurrentWindow(), &info));
    const Atom changeState = XInternAtom(x, "WM_CHANGE_STATE", False);
    bool minimised = false;
    XSync(x, False);
    while (XPending(x)) {
        XEvent event;
        XNextEvent(x, &event);
        minimised |= event.type == ClientMessage && event.xclient.message_type == changeState &&
                     event.xclient.window == info.info.x11.window && event.xclient.data.l[0] == IconicState;
    }
    EXPECT_TRUE(minimised);

    XSetInputFocus(x, info.info.x11.window, RevertToParent, CurrentTime);
    XSync(x, False);
    ASSERT_TRUE(PumpUntil([] { return GLDisplayModeSwitched(); }));
    ExpectScreenMode(640, 480);
}

// Each way out runs in a child process; the screen is checked afterwards.
void OpenFullScreen() {
    OpenGraphics(800, 600, 24, 0);
    for (int i = 0; i < 2000 && !GLDisplayModeSwitched(); ++i) {
        PollEvents();
        SDL_Delay(5);
    }
    if (!GLDisplayModeSwitched()) std::_Exit(3);  // not what is tested here
}

int signalToRaise = 0;

int OpenThenFail() {
    OpenFullScreen();
    Fail("Unable to calculate tex size");
}

int OpenThenTakeASignal() {
    OpenFullScreen();
    std::raise(signalToRaise);
    for (;;) PollEvents();
}

// A write to a page that may only be read: a real fault, and no undefined
// behaviour that a sanitizer would stop first.
int OpenThenFault() {
    OpenFullScreen();
    void* page = mmap(nullptr, 4096, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    *static_cast<volatile int*>(page) = 1;
    return 0;
}

int OpenThenAbort() {
    OpenFullScreen();
    std::abort();
}

// Interrupted while it no longer pumps its messages: the fallback alarm ends it.
int OpenThenHangAfterAnInterrupt() {
    OpenFullScreen();
    std::raise(SIGINT);
    for (;;) pause();
}

TEST_F(FullScreenOnX, EveryWayOutGivesTheDesktopItsModeBack) {
    EXPECT_EXIT(
        {
            OpenFullScreen();
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
    ExpectScreenMode(1024, 768);

    EXPECT_EXIT(RunProgram(OpenThenFail), ::testing::ExitedWithCode(255), "^Unable to calculate tex size$");
    ExpectScreenMode(1024, 768);

    for (int signalNumber : {SIGINT, SIGTERM}) {
        signalToRaise = signalNumber;
        EXPECT_EXIT(RunProgram(OpenThenTakeASignal), ::testing::ExitedWithCode(255), "^Received Signal$");
        ExpectScreenMode(1024, 768);
    }
}

TEST_F(FullScreenOnX, CrashesAndAHungProgramGiveTheDesktopItsModeBackToo) {
    EXPECT_EXIT(RunProgram(OpenThenFault), ::testing::ExitedWithCode(255), "^Unhandled Memory Exception Error$");
    ExpectScreenMode(1024, 768);

    EXPECT_EXIT(RunProgram(OpenThenAbort), ::testing::ExitedWithCode(255), "^Received Signal$");
    ExpectScreenMode(1024, 768);

    EXPECT_EXIT(RunProgram(OpenThenHangAfterAnInterrupt), ::testing::ExitedWithCode(255), "^Received Signal$");
    ExpectScreenMode(1024, 768);
}

}  // namespace
}  // namespace vesk
