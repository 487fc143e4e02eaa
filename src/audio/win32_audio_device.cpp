#include "audio/win32_audio_device.h"

#include <array>
#include <vector>

#include <windows.h>
#include <mmsystem.h>

namespace vesk {

struct winmmdevice::TWaveOut {
    HWAVEOUT device = nullptr;
    HANDLE bufferDone = nullptr;  // set by the device when a buffer has played
    std::array<std::vector<int16_t>, 2> data;
    std::array<WAVEHDR, 2> headers{};
    std::array<bool, 2> prepared{};
};

namespace {

WAVEFORMATEX OutputFormat() {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = passdevice::kOutputChannels;
    format.nSamplesPerSec = passdevice::kOutputRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = passdevice::kOutputRate * 4;
    return format;
}

// The device writes the flags from its own thread.
bool Played(const WAVEHDR& header) {
    return (*static_cast<const volatile DWORD*>(&header.dwFlags) & WHDR_DONE) != 0;
}

}  // namespace

std::unique_ptr<audiodevice> MakePlatformAudioDevice() { return std::make_unique<winmmdevice>(); }

winmmdevice::winmmdevice() : wave_(std::make_unique<TWaveOut>()) {}

winmmdevice::~winmmdevice() { Shutdown(); }

int winmmdevice::Start() {
    PrepareMixing();
    wave_->bufferDone = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    if (!wave_->bufferDone) return 1;
    WAVEFORMATEX format = OutputFormat();
    if (waveOutOpen(&wave_->device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(wave_->bufferDone), 0,
                    CALLBACK_EVENT) != MMSYSERR_NOERROR) {
        wave_->device = nullptr;
        return 1;
    }
    for (int index = 0; index < 2; ++index) {
        wave_->data[index].assign(kSamplesPerBuffer, 0);
        WAVEHDR& header = wave_->headers[index];
        header = {};
        header.lpData = reinterpret_cast<LPSTR>(wave_->data[index].data());
        header.dwBufferLength = kBytesPerBuffer;
        wave_->prepared[index] = waveOutPrepareHeader(wave_->device, &header, sizeof(header)) == MMSYSERR_NOERROR;
    }
    BeginMixing();
    Queue(0);
    Queue(1);
    next_ = 0;
    feeder_ = std::thread(&winmmdevice::Feed, this);
    return 0;
}

void winmmdevice::Queue(int index) {
    WAVEHDR& header = wave_->headers[index];
    Pull(reinterpret_cast<uint8_t*>(header.lpData), kBytesPerBuffer);
    waveOutWrite(wave_->device, &header, sizeof(header));
    buffersQueued_.fetch_add(1, std::memory_order_release);
}

// The event may stand for more than one finished buffer, and it also comes
// for the device's own opening and closing: every buffer found played, in
// turn, is refilled.
void winmmdevice::Feed() {
    // With two buffers the device has one buffer's time (93 ms) to wait for
    // a refill: the feeder must not queue behind a busy machine's threads,
    // or the device plays silence. (Wine leaves thread priorities as they
    // are unless set up to change them.)
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    while (WaitForSingleObject(wave_->bufferDone, INFINITE) == WAIT_OBJECT_0) {
        if (stopping_.load(std::memory_order_acquire)) return;
        while (Played(wave_->headers[next_])) {
            Queue(next_);
            next_ = 1 - next_;
        }
    }
}

int winmmdevice::Shutdown() {
    StopMixing();
    if (feeder_.joinable()) {
        stopping_.store(true, std::memory_order_release);
        SetEvent(wave_->bufferDone);
        feeder_.join();
    }
    if (wave_->device) {
        waveOutReset(wave_->device);
        for (int index = 0; index < 2; ++index)
            if (wave_->prepared[index]) waveOutUnprepareHeader(wave_->device, &wave_->headers[index], sizeof(WAVEHDR));
        waveOutClose(wave_->device);
        wave_->device = nullptr;
    }
    wave_->prepared = {};
    if (wave_->bufferDone) CloseHandle(wave_->bufferDone);
    wave_->bufferDone = nullptr;
    return 0;
}

}  // namespace vesk
