#include "system/win32_platform.h"

#include <vesk/system/input.h>

#include <cstdlib>

#include "system/win32_api.h"
#include <mmsystem.h>

namespace vesk {
namespace {

void RestoreTimerResolution() {
    if (!TimerResolutionRaised()) return;
    timeEndPeriod(1);
    SetTimerResolutionRaised(false);
}

// Keyboard messages of a control in a dialog go to the dialog, which moves
// the focus on Tab and the arrow keys; only windows that take part in that
// (the tab-stop style) are offered to it.
bool TakenByDialog(MSG& message) {
    if (!message.hwnd || !(GetWindowLongA(message.hwnd, GWL_STYLE) & WS_TABSTOP)) return false;
    HWND parent = GetParent(message.hwnd);
    return parent && IsDialogMessageA(parent, &message);
}

}  // namespace

TWin32PlatformDriver::TWin32PlatformDriver() {
    if (!TimerResolutionRaised() && timeBeginPeriod(1) == TIMERR_NOERROR) {
        SetTimerResolutionRaised(true);
        std::atexit(RestoreTimerResolution);
    }
}

// The input filter sees every message first; then the window procedure
// gets it through the system's dispatch, characters translated from keys.
void TWin32PlatformDriver::PollEvents() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        Input().Filter(message.message, static_cast<uint32_t>(message.wParam), static_cast<uint32_t>(message.lParam));
        if (TakenByDialog(message)) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void TWin32PlatformDriver::WaitEvents() {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, INFINITE, QS_ALLINPUT);
    PollEvents();
}

uint32_t TWin32PlatformDriver::ReadClock() { return timeGetTime(); }

void TWin32PlatformDriver::SleepFor(int milliseconds) {
    Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

void TWin32PlatformDriver::PlaceMouse(int x, int y) {
    HWND window = GetActiveWindow();
    if (!window) return;
    POINT point{x, y};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
}

std::shared_ptr<TPlatformDriver> MakePlatformDriver() { return std::make_shared<TWin32PlatformDriver>(); }

}  // namespace vesk
