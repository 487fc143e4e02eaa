#include "audio/web_audio_device.h"

#include <SDL/SDL.h>

namespace vesk {
namespace {

webaudiodevice* openDevice = nullptr;

extern "C" void PullWebAudio(void* device, Uint8* stream, int len) {
    static_cast<webaudiodevice*>(device)->Pull(stream, len);
}

}  // namespace

std::unique_ptr<audiodevice> MakePlatformAudioDevice() { return std::make_unique<webaudiodevice>(); }

TWebAudioStatus WebAudioStatus() {
    if (!openDevice) return {};
    return {openDevice->Running(), openDevice->FramesHandedOver()};
}

webaudiodevice::~webaudiodevice() { Shutdown(); }

int webaudiodevice::Start() {
    if (openDevice) return 1;  // the browser's SDL layer has one output
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 1;
    PrepareMixing();
    SDL_AudioSpec wanted;
    DescribeOutput(wanted, AUDIO_S16LSB, PullWebAudio);
    if (SDL_OpenAudio(&wanted, nullptr) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return 1;
    }
    openDevice = this;
    BeginMixing();
    SDL_PauseAudio(0);
    return 0;
}

int webaudiodevice::Shutdown() {
    StopMixing();
    if (openDevice != this) return 0;
    SDL_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    openDevice = nullptr;
    return 0;
}

}  // namespace vesk
