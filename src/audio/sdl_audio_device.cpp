#include <vesk/audio/sdl_audio_device.h>

#include <vesk/audio/alsa_errors.h>

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace vesk {
namespace {

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;

extern "C" void PullAudio(void* device, Uint8* stream, int len) {
    static_cast<sdlaudiodevice*>(device)->Pull(stream, len);
}

}  // namespace

std::unique_ptr<audiodevice> MakePlatformAudioDevice() { return std::make_unique<sdlaudiodevice>(); }

sdlaudiodevice::~sdlaudiodevice() { Shutdown(); }

int sdlaudiodevice::Start() {
    SilenceAlsaErrors();
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 1;
    subsystemStarted_ = true;
    mixer& engine = CreateMixer(kSamplesPerBuffer, 0, 0);

    SDL_AudioSpec wanted{};
    wanted.freq = kOutputRate;
    wanted.format = AUDIO_S16LSB;
    wanted.channels = kOutputChannels;
    wanted.samples = kFramesPerBuffer;
    wanted.callback = PullAudio;
    wanted.userdata = this;
    // No changes allowed: SDL converts to whatever the hardware takes.
    deviceId_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (deviceId_ == 0) return 1;

    engine.outputRate = kOutputRate;
    engine.outputChannels = kOutputChannels;
    partial_.assign(kSamplesPerBuffer, 0);
    offset_ = 0;
    running_.store(true, std::memory_order_release);
    SDL_PauseAudioDevice(deviceId_, 0);
    return 0;
}

int sdlaudiodevice::Shutdown() {
    running_.store(false, std::memory_order_release);
    if (deviceId_ != 0) SDL_CloseAudioDevice(deviceId_);
    deviceId_ = 0;
    if (subsystemStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystemStarted_ = false;
    return 0;
}

void sdlaudiodevice::Pull(uint8_t* stream, int len) {
    framesHandedOver_.fetch_add(static_cast<uint64_t>(len / 4), std::memory_order_release);
    if (!running_.load(std::memory_order_acquire)) {
        std::memset(stream, 0, static_cast<size_t>(len));
        return;
    }
    while (len > 0) {
        if (offset_ == 0 && len >= kBytesPerBuffer) {
            // A whole period: mixed where SDL will play it, with no copy in between.
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
