// What the intro's music costs as it plays, per block of 4096 frames (92.9 ms
// of sound), reported as a share of one core: making it from the score, as
// the page does, and reading it from the embedded track in blocks, as the
// delivered program does (pages given back as it goes).
#include "intro/intro_assets.h"
#include "music/render.h"
#include "music/score.h"
#include <vesk/audio/sound_stream.h>
#include <vesk/audio/wav_reader.h>
#include <vesk/stream/opening.h>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace vesk {
namespace {

constexpr int32_t kBlock = 4096;
constexpr double kBlockSeconds = kBlock / 44100.0;

// The whole piece, block after block, starting over at its end.
void BM_MakeMusic(benchmark::State& state) {
    const assetgen::Score score = assetgen::ReadScore(VESK_SCORE);
    auto renderer = std::make_unique<assetgen::MusicRenderer>(score);
    std::vector<int16_t> block(kBlock * 2);
    for (auto _ : state) {
        if (renderer->Render(block.data(), kBlock) < kBlock) {
            state.PauseTiming();
            renderer = std::make_unique<assetgen::MusicRenderer>(score);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(block.data());
    }
    state.counters["core_share"] = benchmark::Counter(kBlockSeconds * static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_MakeMusic)->Unit(benchmark::kMillisecond);

void BM_ReadTrack(benchmark::State& state) {
    if constexpr (kSynthesizedMusic) {
        state.SkipWithError("this build embeds the score, not the track");
        return;
    }
    InitStreamModule();
    InitWavModule();
    RegisterIntroAssets();
    TSoundSourceRef source = OpenWavSource(u"incbin::\\basic\\intro.wav");
    std::vector<int16_t> block(kBlock * 2);
    for (auto _ : state) {
        if (source->Read(block.data(), kBlock) < kBlock) source->Rewind();
        benchmark::DoNotOptimize(block.data());
    }
    state.counters["core_share"] = benchmark::Counter(kBlockSeconds * static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadTrack)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
