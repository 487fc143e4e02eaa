// The main thread plays, stops and changes voices while another thread runs
// passes, as the audio device's thread does. Built with ThreadSanitizer this
// shows any unordered access between the two; in any build it checks that
// every voice is accounted for afterwards.
#include "mixer_fixture.h"

#include <algorithm>
#include <atomic>
#include <random>
#include <thread>

namespace vesk::testing {
namespace {

TEST_F(MixerTest, MainThreadAndMixingThreadShareVoicesWithoutLoss) {
    SoundRecord* shortRecord = MakeRecord(Constant(300, 1000, -1000));
    SoundRecord* longRecord = MakeRecord(Constant(20000, 200, 200), 22050);
    SoundRecord* looped = MakeRecord(Constant(500, 50, 50), 44100, -1);
    SoundRecord* records[] = {shortRecord, longRecord, looped};

    std::vector<int32_t> channels;
    for (int i = 0; i < 32; ++i) {
        channels.push_back(MixerAllocChannel());
        MixerPlay(records[i % 3], 0, channels.back());
    }

    std::atomic<bool> done{false};
    std::atomic<int> passes{0};
    std::thread mixing([&] {
        std::vector<int16_t> out(manualaudiodevice::kSamplesPerPass);
        while (!done.load()) {
            device_->Render(out.data());
            passes.fetch_add(1);
        }
    });

    std::mt19937 random(1234);
    std::vector<int32_t> fireAndForget;
    for (int step = 0; step < 40000; ++step) {
        const int32_t channel = channels[random() % channels.size()];
        switch (random() % 8) {
            case 0: MixerPlay(records[random() % 3], random() % 2, channel); break;
            case 1: fireAndForget.push_back(MixerPlay(records[random() % 2], 0, 0)); break;
            case 2: MixerStop(channel); break;
            case 3: MixerPause(channel, random() % 2); break;
            case 4: MixerSetVolume(channel, (random() % 100) / 50.0f); break;
            case 5: MixerSetRate(channel, (random() % 100) / 40.0f); break;
            case 6: MixerSetPan(channel, (random() % 200) / 100.0f - 1.0f); break;
            default:
                if (!fireAndForget.empty()) MixerStop(fireAndForget[random() % fireAndForget.size()]);
                MixerStatus(channel);
                break;
        }
        if (step % 64 == 0) std::this_thread::yield();
    }
    while (passes.load() < 8) std::this_thread::yield();
    done.store(true);
    mixing.join();

    // Quiet: stop every held channel and let the fire-and-forget voices end.
    for (int32_t channel : channels) MixerStop(channel);
    for (int i = 0; i < 16; ++i) Pass();

    mixer& engine = Engine();
    EXPECT_EQ(engine.VoiceCount(),
              engine.ActiveCount() + engine.incoming.Count() + engine.recycled.Count() + engine.SpareCount());
    // What stays active: the held channels' stopped voices, and finished
    // voices only while the recycled ring has no room for them.
    const auto states = engine.ActiveStates();
    const auto stopped = std::count(states.begin(), states.end(), int32_t{VoiceStopped});
    const auto finished = std::count(states.begin(), states.end(), int32_t{VoiceFinished});
    EXPECT_LE(stopped, static_cast<long>(channels.size()));
    EXPECT_EQ(stopped + finished, static_cast<long>(states.size()));
    EXPECT_TRUE(finished == 0 || engine.recycled.Full());
    EXPECT_EQ(Pass()[0], 0);
}

}  // namespace
}  // namespace vesk::testing
