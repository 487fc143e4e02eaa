// The audio driver over the software mixer: sounds are mixer records made
// from 16-bit stereo copies of their samples, and channels are mixer handles.
// It becomes the current driver only when the audio output opens.
#pragma once

#include <vesk/audio/sound_driver.h>

#include <cstdint>

namespace vesk {

struct SoundRecord;

class TMixerDriver : public TSoundDriver {
public:
    TSoundRef CreateSound(std::shared_ptr<TPcmSample> sample, int flags) override;
    TChannelRef AllocateChannel() override;
    std::shared_ptr<TStreamSound> CreateStreamSound(std::shared_ptr<TSoundSource> source, int flags) override;
};

class TMixerSound : public TSoundClip {
public:
    static std::shared_ptr<TMixerSound> Create(SoundRecord* data);
    ~TMixerSound() override;
    // A channel of another driver plays nothing and gives null.
    TChannelRef Play(const TChannelRef& channel) override;
    TChannelRef Cue(const TChannelRef& channel) override;

    SoundRecord* data = nullptr;

private:
    TChannelRef Start(const TChannelRef& channel, int paused);
};

// Releasing a channel does not give its handle back.
class TMixerChannel : public TPlayChannel {
public:
    static std::shared_ptr<TMixerChannel> Create(int32_t handle);
    int Stop() override;
    int SetPaused(int paused) override;
    int SetVolume(float volume) override;
    int SetPan(float pan) override;
    int SetDepth(float depth) override;
    int SetRate(float rate) override;
    // A paused sound counts as playing.
    int Playing() override;

    int32_t handle = 0;
};

// The mixer module's once-only initialiser: opens the audio output and, when
// it opens, makes the mixer driver current and closes the mixer at exit.
// Without an output the silent driver stays and every sound is silent.
void InitMixerModule();

}  // namespace vesk
