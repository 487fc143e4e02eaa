// The music made block by block, as a program plays it while it is made:
// whatever the blocks, the samples are those of the whole track, and the
// build's track file is made the same way.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <stdexcept>

#include "asset_bytes.h"
#include "music/render.h"
#include "music/score.h"

namespace vesk::assetgen {
namespace {

// Sizes that cut the renderer's own blocks at ever different frames, down
// to single frames.
constexpr long kBlockSizes[] = {4096, 1, 777, 64, 13, 44100, 3};

// The first frame where blocks of the sizes above differ from `expected`
// (interleaved 16-bit little-endian stereo), or -1.
long FirstDifference(MusicRenderer& renderer, const std::uint8_t* expected) {
    std::vector<std::int16_t> block(44100 * 2);
    for (std::size_t k = 0; renderer.Position() < renderer.Frames(); ++k) {
        const long first = renderer.Position();
        const long made = renderer.Render(block.data(), kBlockSizes[k % std::size(kBlockSizes)]);
        if (std::memcmp(block.data(), expected + first * 4, std::size_t(made) * 4) != 0) return first;
    }
    return -1;
}

TEST(MusicBlocks, BlocksOfAnySizeMakeTheTrackTheBuildWrote) {
    const assettest::Bytes wav = assettest::ReadFileBytes(VESK_ASSET_MUSIC);
    const Score score = ReadScore(VESK_ASSET_SOURCES "/music/score.txt");
    MusicRenderer renderer(score);
    ASSERT_EQ(wav.size(), 44 + std::size_t(renderer.Frames()) * 4);
    EXPECT_EQ(FirstDifference(renderer, wav.data() + 44), -1);
    EXPECT_EQ(renderer.Loudest(), *score.loudest);
}

// A score whose stated loudest sample is not its own would be scaled
// wrongly from the first block on: the build refuses it and names the value.
TEST(MusicBlocks, TheBuildRefusesAScoreWhoseLoudestSampleIsWrong) {
    const std::string text =
        "frames 88200\nloudest 0.5\nrhythm four r---r---r---r---\n"
        "drums beat\n  kick X...X...X...X...\n  hat ..x...x...x...x.\n"
        "section a at 0 beats 4\n  chords Am\n  bass four\n  drums beat\n  pad x\n";
    Score score = ParseScore(text);
    std::string message;
    try {
        RenderScore(score);
    } catch (const std::runtime_error& failure) {
        message = failure.what();
    }
    const std::size_t named = message.find("write 'loudest ");
    ASSERT_NE(named, std::string::npos) << message;
    score.loudest = std::stof(message.substr(named + 15));
    const std::vector<std::int16_t> whole = RenderScore(score);

    MusicRenderer renderer(score);
    std::vector<std::uint8_t> bytes(whole.size() * 2);
    std::memcpy(bytes.data(), whole.data(), bytes.size());
    EXPECT_EQ(FirstDifference(renderer, bytes.data()), -1);
}

}  // namespace
}  // namespace vesk::assetgen
