// Gives the X server named by DISPLAY the test display modes (800 x 600 and
// 640 x 480 besides its own size) for as long as this program runs: the
// server drops a client's modes when the client goes. Prints "ready" once
// they are there, then waits until its standard input closes.
#include "support/xvfb_server.h"

#include <cstdio>

int main() {
    Display* display = XOpenDisplay(nullptr);
    if (!display || !vesk::test::AddTestDisplayModes(display)) {
        std::fprintf(stderr, "vesk_x_display_modes: no X server with RandR\n");
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    XCloseDisplay(display);
    return 0;
}
