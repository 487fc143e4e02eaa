// The CPU cost of one mixing pass (4096 frames, 92.9 ms of sound) with many
// playing voices, reported as the number of such voices one core could mix
// in real time. Voices play looping 44100 Hz stereo records, each voice its
// own record of a set of 64, so the passes read fresh memory as in a real mix.
#include "audio/manual_audio_device.h"
#include <vesk/audio/mixer.h>

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace vesk {
namespace {

constexpr int kRecords = 64;
constexpr int kRecordFrames = 2 * 44100;
constexpr double kPassSeconds = 4096.0 / 44100.0;

struct Setup {
    // hertz of the records, and whether each voice gets its own pan and rate
    int32_t hertz;
    bool varied;
};

manualaudiodevice* OpenMixer() {
    MixerClose();
    auto device = std::make_unique<manualaudiodevice>();
    manualaudiodevice* raw = device.get();
    MixerOpenWith(std::move(device));
    return raw;
}

std::vector<SoundRecord*> MakeRecords(int32_t hertz) {
    std::mt19937 random(42);
    std::vector<int16_t> frames(kRecordFrames * 2);
    std::vector<SoundRecord*> records;
    for (int r = 0; r < kRecords; ++r) {
        for (auto& s : frames) s = static_cast<int16_t>(random() % 8192 - 4096);
        records.push_back(MixerCreateSound(kRecordFrames, 16, 2, hertz, frames.data(), -1));
    }
    return records;
}

void StartVoices(const std::vector<SoundRecord*>& records, int voices, bool varied) {
    std::mt19937 random(7);
    for (int v = 0; v < voices; ++v) {
        const int32_t channel = MixerAllocChannel();
        if (varied) {
            MixerSetPan(channel, (random() % 200) / 100.0f - 1.0f);
            MixerSetRate(channel, 0.5f + (random() % 100) / 100.0f);
        }
        MixerPlay(records[v % records.size()], 0, channel);
    }
}

void MixPassBenchmark(benchmark::State& state, Setup setup) {
    const int voices = static_cast<int>(state.range(0));
    manualaudiodevice* device = OpenMixer();
    StartVoices(MakeRecords(setup.hertz), voices, setup.varied);
    std::vector<int16_t> out(manualaudiodevice::kSamplesPerPass);
    device->Render(out.data());  // takes the voices in
    for (auto _ : state) {
        device->Render(out.data());
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["realtime_voices"] =
        benchmark::Counter(voices * kPassSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    MixerClose();
}

// The intro's case: records at the output rate, normal speed, centred.
BENCHMARK_CAPTURE(MixPassBenchmark, at_output_rate, Setup{44100, false})->Arg(1)->Arg(16)->Arg(256)->Arg(1024);
// Resampled voices: 22050 Hz records at rates 0.5 to 1.5, panned.
BENCHMARK_CAPTURE(MixPassBenchmark, resampled_panned, Setup{22050, true})->Arg(1)->Arg(16)->Arg(256)->Arg(1024);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
