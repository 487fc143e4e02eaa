// make_music: synthesises the intro's music from the score in assets/music.
// Usage: make_music <score.txt> <out.wav>
#include <exception>
#include <iostream>

#include "common/file_output.h"
#include "music/render.h"
#include "music/score.h"
#include "music/wav_writer.h"

int main(int argc, char** argv) {
    using namespace vesk::assetgen;
    if (argc != 3) {
        std::cerr << "usage: make_music <score.txt> <out.wav>\n";
        return 2;
    }
    try {
        WriteFile(argv[2], EncodeWav(RenderScore(ReadScore(argv[1]))));
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
