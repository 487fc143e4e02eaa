#include <vesk/audio/sound_driver.h>

#include <vesk/audio/sample_reader.h>
#include <vesk/audio/wav_reader.h>

#include <utility>

namespace vesk {
namespace {

std::shared_ptr<TSoundDriver> currentDriver;

}  // namespace

TChannelRef TSoundClip::Play(const TChannelRef&) { return std::make_shared<TPlayChannel>(); }
TChannelRef TSoundClip::Cue(const TChannelRef&) { return std::make_shared<TPlayChannel>(); }

std::shared_ptr<TSoundClip> TSoundClip::Load(const TUrl& source, int flags) {
    std::shared_ptr<TPcmSample> sample = source.As<TPcmSample>();
    if (!sample) sample = ReadAudioSample(source);
    if (!sample) return nullptr;
    return SoundDriver().CreateSound(std::move(sample), flags);
}

TSoundRef TSoundDriver::CreateSound(std::shared_ptr<TPcmSample>, int) {
    return std::make_shared<TSoundClip>();
}

TChannelRef TSoundDriver::AllocateChannel() { return std::make_shared<TPlayChannel>(); }

TSoundDriver& SoundDriver() {
    InitAudioModule();
    return *currentDriver;
}

void SetSoundDriver(std::shared_ptr<TSoundDriver> driver) {
    InitAudioModule();
    currentDriver = std::move(driver);
}

TSoundRef MakeSound(const TUrl& source, int flags) { return TSoundClip::Load(source, flags); }

TChannelRef StartSound(const TSoundRef& sound, const TChannelRef& channel) {
    return sound ? sound->Play(channel) : nullptr;
}

TChannelRef StartSoundPaused(const TSoundRef& sound, const TChannelRef& channel) {
    return sound ? sound->Cue(channel) : nullptr;
}

TChannelRef ReserveChannel() { return SoundDriver().AllocateChannel(); }

int StopChannel(const TChannelRef& channel) { return channel ? channel->Stop() : 0; }
int SetChannelPaused(const TChannelRef& channel, int paused) { return channel ? channel->SetPaused(paused) : 0; }
int PauseChannel(const TChannelRef& channel) { return SetChannelPaused(channel, 1); }
int ResumeChannel(const TChannelRef& channel) { return SetChannelPaused(channel, 0); }
int SetChannelVolume(const TChannelRef& channel, float volume) { return channel ? channel->SetVolume(volume) : 0; }
int SetChannelPan(const TChannelRef& channel, float pan) { return channel ? channel->SetPan(pan) : 0; }
int SetChannelDepth(const TChannelRef& channel, float depth) { return channel ? channel->SetDepth(depth) : 0; }
int SetChannelRate(const TChannelRef& channel, float rate) { return channel ? channel->SetRate(rate) : 0; }
int ChannelPlaying(const TChannelRef& channel) { return channel ? channel->Playing() : 0; }

void InitAudioModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitWavModule();
    currentDriver = std::make_shared<TSoundDriver>();
}

}  // namespace vesk
