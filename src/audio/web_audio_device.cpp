#include "audio/web_audio_device.h"

#include <SDL/SDL.h>
#include <emscripten.h>

#include <atomic>
#include <cstring>

// The toolchain's SDL layer plays through one audio context for the page's
// life. Suspending it stops its clock, and with it the timer that asks for
// sound; a context that was never made has nothing to hold.
EM_JS(void, HoldAudioContext, (int held), {
    if (typeof SDL === 'undefined' || !SDL.audioContext) return;
    (held ? SDL.audioContext.suspend() : SDL.audioContext.resume()).catch(() => {});
});

namespace vesk {
namespace {

webaudiodevice* openDevice = nullptr;
std::atomic<bool> pausedByPage{false};
std::atomic<bool> mutedByPage{false};

extern "C" void PullWebAudio(void* device, Uint8* stream, int len) {
    // A pull that slips in while paused must not move the music on.
    if (pausedByPage.load(std::memory_order_relaxed)) {
        std::memset(stream, 0, static_cast<size_t>(len));
        return;
    }
    static_cast<webaudiodevice*>(device)->Pull(stream, len);
    if (mutedByPage.load(std::memory_order_relaxed)) std::memset(stream, 0, static_cast<size_t>(len));
}

}  // namespace

std::unique_ptr<audiodevice> MakePlatformAudioDevice() { return std::make_unique<webaudiodevice>(); }

TWebAudioStatus WebAudioStatus() {
    TWebAudioStatus status;
    status.paused = pausedByPage.load();
    status.muted = mutedByPage.load();
    if (openDevice) {
        status.open = openDevice->Running();
        status.framesHandedOver = openDevice->FramesHandedOver();
    }
    return status;
}

void PauseWebAudio(bool paused) {
    pausedByPage.store(paused);
    if (openDevice) HoldAudioContext(paused ? 1 : 0);
}

void MuteWebAudio(bool muted) { mutedByPage.store(muted); }

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
    // The context of an earlier output was suspended when that one closed.
    HoldAudioContext(pausedByPage.load() ? 1 : 0);
    SDL_PauseAudio(0);
    return 0;
}

int webaudiodevice::Shutdown() {
    StopMixing();
    if (openDevice != this) return 0;
    SDL_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    // Closed means silent: the context stops sending even silence.
    HoldAudioContext(1);
    openDevice = nullptr;
    return 0;
}

}  // namespace vesk
