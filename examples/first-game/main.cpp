// A first game: arrow keys walk the hero onto coins for points, Space plays a
// panned sound, Escape ends it. A number on the command line ends it after
// that many frames instead (for running headless); the score is printed at
// the end.
#include "game.h"

#include <vesk/runtime/startup.h>

#include <cstdio>
#include <cstdlib>

// [main]
int main(int argc, char** argv) {
    const int frameLimit = argc > 1 ? std::atoi(argv[1]) : 0;  // 0: until Escape
    return vesk::RunProgram([frameLimit] {
        // The pictures and the sound lie in assets/ beside the program, found
        // wherever it is started from; a relative name would be taken from
        // the working folder instead.
        first_game::TGame game(vesk::ExecutableDirectory() + "assets/");
        for (int frame = 0; (frameLimit == 0 || frame < frameLimit) && game.RunFrame(); ++frame) {
        }
        std::printf("score %d\n", game.Score());
        return 0;
    });
}
// [main]
