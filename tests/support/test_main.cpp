// The tests' entry point. Anything that opens a window or an audio device
// runs on SDL's offscreen video and dummy audio drivers unless the caller
// chose others, so the suite needs neither a display nor a sound card. On
// Windows the system's own window and wave-out device serve.
#include "support/cases_apart.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
#if !defined(_WIN32)
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
#endif
    ::testing::InitGoogleTest(&argc, argv);
#if !defined(_WIN32)
    vesk::test::InstallCasesApartIfAsked();
#endif
    return RUN_ALL_TESTS();
}
