#include <vesk/audio/mixer_driver.h>

#include <vesk/audio/mixer.h>

#include "audio/mixer_stream_sound.h"
#include "audio/stream_feeder.h"

#include <cstdlib>

namespace vesk {
namespace {

void CloseMixerAtExit() { MixerClose(); }

}  // namespace

// Each copy of the frames goes as soon as the next one exists: the sample
// once converted (unless the caller keeps it), the converted frames once
// the mixer has its own. A long track then never has three copies at once.
TSoundRef TMixerDriver::CreateSound(std::shared_ptr<TPcmSample> sample, int flags) {
    auto frames = sample->Convert(SampleStereo16LE);
    sample.reset();
    SoundRecord* data = MixerCreateSound(frames->length, 16, 2, frames->hertz, frames->samples, flags ? -1 : 0);
    frames.reset();
    return TMixerSound::Create(data);
}

// The feeding starts with the first streamed sound, so that it is under way
// well before a play needs more than the frames read ahead at its start.
std::shared_ptr<TStreamSound> TMixerDriver::CreateStreamSound(std::shared_ptr<TSoundSource> source, int flags) {
    EnsureBackgroundFeeding();
    return std::make_shared<TMixerStreamSound>(std::move(source), flags != 0);
}

TChannelRef TMixerDriver::AllocateChannel() {
    const int32_t handle = MixerAllocChannel();
    return handle ? TMixerChannel::Create(handle) : nullptr;
}

std::shared_ptr<TMixerSound> TMixerSound::Create(SoundRecord* data) {
    auto sound = std::make_shared<TMixerSound>();
    sound->data = data;
    return sound;
}

TMixerSound::~TMixerSound() { MixerFreeSound(data); }

TChannelRef TMixerSound::Play(const TChannelRef& channel) { return Start(channel, 0); }
TChannelRef TMixerSound::Cue(const TChannelRef& channel) { return Start(channel, 1); }

TChannelRef TMixerSound::Start(const TChannelRef& channel, int paused) {
    const auto mixerChannel = std::dynamic_pointer_cast<TMixerChannel>(channel);
    if (channel && !mixerChannel) return nullptr;
    const int32_t handle = MixerPlay(data, paused, mixerChannel ? mixerChannel->handle : 0);
    if (handle == 0) return nullptr;
    if (mixerChannel && mixerChannel->handle == handle) return mixerChannel;
    return TMixerChannel::Create(handle);
}

std::shared_ptr<TMixerChannel> TMixerChannel::Create(int32_t handle) {
    auto channel = std::make_shared<TMixerChannel>();
    channel->handle = handle;
    return channel;
}

int TMixerChannel::Stop() { return MixerStop(handle); }
int TMixerChannel::SetPaused(int paused) { return MixerPause(handle, paused); }
int TMixerChannel::SetVolume(float volume) { return MixerSetVolume(handle, volume); }
int TMixerChannel::SetPan(float pan) { return MixerSetPan(handle, pan); }
int TMixerChannel::SetDepth(float depth) { return MixerSetDepth(handle, depth); }
int TMixerChannel::SetRate(float rate) { return MixerSetRate(handle, rate); }
int TMixerChannel::Playing() { return MixerStatus(handle) > 1 ? 1 : 0; }

void InitMixerModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitAudioModule();
    if (MixerOpen() == -1) return;
    std::atexit(CloseMixerAtExit);
    SetSoundDriver(std::make_shared<TMixerDriver>());
}

}  // namespace vesk
