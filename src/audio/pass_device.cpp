#include "audio/pass_device.h"

#include <algorithm>
#include <cstring>

namespace vesk {

void passdevice::PrepareMixing() {
    mixer& engine = CreateMixer(kSamplesPerBuffer, 0, 0);
    engine.outputRate = kOutputRate;
    engine.outputChannels = kOutputChannels;
    partial_.assign(kSamplesPerBuffer, 0);
    offset_ = 0;
}

void passdevice::Pull(uint8_t* stream, int len) {
    framesHandedOver_.fetch_add(static_cast<uint64_t>(len / 4), std::memory_order_release);
    if (!Running() || !Mixer()) {
        std::memset(stream, 0, static_cast<size_t>(len));
        return;
    }
    while (len > 0) {
        if (offset_ == 0 && len >= kBytesPerBuffer) {
            // A whole pass: mixed where the platform will play it, with no copy in between.
            Mixer()->MixPass(reinterpret_cast<int16_t*>(stream));
            stream += kBytesPerBuffer;
            len -= kBytesPerBuffer;
            continue;
        }
        if (offset_ == 0) Mixer()->MixPass(partial_.data());
        const int count = std::min(len, kBytesPerBuffer - offset_);
        std::memcpy(stream, reinterpret_cast<const uint8_t*>(partial_.data()) + offset_, static_cast<size_t>(count));
        stream += count;
        len -= count;
        offset_ = (offset_ + count) % kBytesPerBuffer;
    }
}

}  // namespace vesk
