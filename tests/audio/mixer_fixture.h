// A mixer opened on a device the test drives itself, so every pass is
// called directly and its output compared sample by sample.
#pragma once

#include "audio/manual_audio_device.h"
#include <vesk/audio/mixer.h>
#include "audio/mixer_engine.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vesk::testing {

class MixerTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto owned = std::make_unique<manualaudiodevice>();
        device_ = owned.get();
        ASSERT_EQ(MixerOpenWith(std::move(owned)), 0);
    }

    void TearDown() override { MixerClose(); }

    // One pass: 4096 frames, left and right interleaved.
    std::vector<int16_t> Pass() {
        std::vector<int16_t> out(manualaudiodevice::kSamplesPerPass);
        device_->Render(out.data());
        return out;
    }

    mixer& Engine() { return *device_->Mixer(); }

    manualaudiodevice* device_ = nullptr;
};

// A 16-bit stereo record of interleaved samples.
inline SoundRecord* MakeRecord(const std::vector<int16_t>& samples, int32_t hertz = 44100, int32_t loop = 0) {
    return MixerCreateSound(static_cast<int32_t>(samples.size() / 2), 16, 2, hertz, samples.data(), loop);
}

// frames stereo frames whose samples hold their own index.
inline std::vector<int16_t> IndexSamples(int frames) {
    std::vector<int16_t> samples(static_cast<size_t>(frames) * 2);
    for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i);
    return samples;
}

inline std::vector<int16_t> Constant(int frames, int16_t left, int16_t right) {
    std::vector<int16_t> samples;
    for (int f = 0; f < frames; ++f) {
        samples.push_back(left);
        samples.push_back(right);
    }
    return samples;
}

}  // namespace vesk::testing
