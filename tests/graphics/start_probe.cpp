// A small GL program for the start-up tests. It starts the engine in the
// intro's order (the system layer, graphics with its display-mode list, then
// sound), opens a window, says "opened" on standard output once the first
// frame is presented, and ends normally after the frames asked for by its one
// argument, or runs on until it is killed when that is 0. A display lists one
// mode at least: an empty list means that listing them did not reach it.
#include <vesk/audio/mixer_driver.h>
#include <vesk/graphics/draw_state.h>
#include <vesk/graphics/graphics.h>
#include <vesk/runtime/startup.h>
#include <vesk/system/platform.h>

#include <cstdio>
#include <cstdlib>

namespace {

int framesToDraw = 1;

int Probe() {
    using namespace vesk;
    InitSystemModule();
    InitGraphicsModule();
    if (CountDisplayModes() == 0) {
        std::puts("no display modes were listed");
        return 1;
    }
    InitMixerModule();
    OpenGraphics(64, 48, 0, 0);
    for (int frame = 0; framesToDraw == 0 || frame < framesToDraw; ++frame) {
        ClearScreen();
        FlipBuffers();
        if (frame == 0) {
            std::puts("opened");
            std::fflush(stdout);
        }
    }
    CloseGraphics();
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1) framesToDraw = std::atoi(argv[1]);
    return vesk::RunProgram(Probe);
}
