// The long soak run, for scripts/soak: intro_soak [FRAMES [WARMUP]] runs the
// show unsteered for FRAMES frames (30,000 by default, ten minutes of show
// time) and prints what it saw. Exit status 0 when every check held.
#include "soak_run.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    // Headless on purpose: the run opens its window on the offscreen driver
    // unless the caller names another.
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    vesk::soak::TSoakOptions options;
    if (argc > 1) options.frames = std::atoi(argv[1]);
    if (argc > 2) options.warmupFrames = std::atoi(argv[2]);
    vesk::soak::TSoakReport report = vesk::soak::RunSoak(options);
    std::fputs(vesk::soak::Describe(report).c_str(), stdout);
    return report.failure.empty() ? 0 : 1;
}
