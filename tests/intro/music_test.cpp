// The delivered build's music, heard through SDL's disk audio driver, which
// writes what the device would play into a file: after the silent buffers
// that play while the show starts up, the track the build made comes out bit
// for bit, streamed from the program (or made as it plays), with no frame
// missing.
#include "intro/intro.h"
#include "intro/music.h"

#include "support/scripted_platform.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>
#include <vector>

namespace vesk {
namespace {

namespace fs = std::filesystem;

// One mixing pass, and one pull of the device: 4096 stereo 16-bit frames.
constexpr std::size_t kBufferBytes = 4096 * 4;
constexpr std::size_t kWavHeaderBytes = 44;

std::vector<uint8_t> ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs the intro for a few frames with its sound going to `output`, lets
// the music play on for a while without ending the show, and exits.
[[noreturn]] void PlayIntoFile(const fs::path& output) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", output.c_str(), 1);
    test::InstallScriptedPlatform();
    if (!StartIntro()) std::exit(1);
    for (int frame = 0; frame < 3; ++frame) RunIntroFrame();
    // The disk driver writes in real time; the exit handlers close it.
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    std::exit(IntroMusicStatus(IntroShow().music).underruns == 0 ? 0 : 3);
}

TEST(IntroMusic, PlaysTheTrackBitForBitAfterTheSilenceOfStartUp) {
    // Forked where it stands, so that the child writes where the parent
    // reads; nothing of the engine runs in the parent before it.
    GTEST_FLAG_SET(death_test_style, "fast");
    std::string folder = (fs::temp_directory_path() / "vesk-music-XXXXXX").string();
    ASSERT_NE(mkdtemp(folder.data()), nullptr);
    const fs::path output = fs::path(folder) / "output.raw";
    EXPECT_EXIT(PlayIntoFile(output), ::testing::ExitedWithCode(0), "");
    const std::vector<uint8_t> heard = ReadFile(output);
    fs::remove_all(folder);

    const std::vector<uint8_t> wav = ReadFile(VESK_ASSET_MUSIC);
    ASSERT_EQ(wav.size(), 46024076u);

    // Silence first, whole buffers of it: the two filled before the device
    // starts and those that play while the show starts up.
    std::size_t start = 0;
    while (start < heard.size() && heard[start] == 0) ++start;
    start -= start % kBufferBytes;
    ASSERT_GE(start, 2 * kBufferBytes);
    const std::size_t length = heard.size() - start;
    ASSERT_GE(length, 4 * kBufferBytes) << "too little of the music was heard";
    ASSERT_LE(length, wav.size() - kWavHeaderBytes);
    EXPECT_TRUE(std::equal(heard.begin() + static_cast<std::ptrdiff_t>(start), heard.end(),
                           wav.begin() + kWavHeaderBytes));
}

}  // namespace
}  // namespace vesk
