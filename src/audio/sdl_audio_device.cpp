#include "audio/sdl_audio_device.h"

#include "audio/alsa_errors.h"

#include <SDL.h>

namespace vesk {
namespace {

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
    PrepareMixing();

    SDL_AudioSpec wanted;
    DescribeOutput(wanted, AUDIO_S16LSB, PullAudio);
    // No changes allowed: SDL converts to whatever the hardware takes.
    deviceId_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (deviceId_ == 0) return 1;

    BeginMixing();
    SDL_PauseAudioDevice(deviceId_, 0);
    return 0;
}

int sdlaudiodevice::Shutdown() {
    StopMixing();
    if (deviceId_ != 0) SDL_CloseAudioDevice(deviceId_);
    deviceId_ = 0;
    if (subsystemStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystemStarted_ = false;
    return 0;
}

}  // namespace vesk
