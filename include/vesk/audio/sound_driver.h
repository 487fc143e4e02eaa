// Sounds and channels: the audio layer that programs call. A sound is made
// from a sample (or from anything ReadAudioSample reads); playing it gives a
// channel whose volume, pan, depth, rate and pause state can be changed.
// Everything is delegated to the current audio driver. The base driver is
// silent: its sounds and channels accept every call and do nothing, so a
// program runs the same on a machine without sound.
#pragma once

#include <vesk/audio/sample.h>
#include <vesk/stream/url.h>

#include <memory>

namespace vesk {

// A channel a sound plays on. The base channel is inert: every operation
// does nothing and returns 0.
class TPlayChannel {
public:
    virtual ~TPlayChannel() = default;
    virtual int Stop() { return 0; }
    virtual int SetPaused(int) { return 0; }
    // 1.0 is unity volume and normal speed; pan runs from -1 (left) to 1
    // (right); a negative depth inverts the right channel.
    virtual int SetVolume(float) { return 0; }
    virtual int SetPan(float) { return 0; }
    virtual int SetDepth(float) { return 0; }
    virtual int SetRate(float) { return 0; }
    // Non-zero while the sound is playing or paused on this channel.
    virtual int Playing() { return 0; }
};

using TChannelRef = std::shared_ptr<TPlayChannel>;

// A playable sound. The base sound is inert: playing it gives an inert channel.
class TSoundClip {
public:
    virtual ~TSoundClip() = default;
    // Plays on the given channel, or on a new one when it is null. Returns
    // the channel, or null when nothing plays.
    virtual TChannelRef Play(const TChannelRef& channel);
    // As Play, but the sound starts paused.
    virtual TChannelRef Cue(const TChannelRef& channel);

    // A sound from a sample (used as is) or from a name or stream read with
    // ReadAudioSample; null when no reader accepts the source. Any non-zero
    // flags make the sound loop.
    static std::shared_ptr<TSoundClip> Load(const TUrl& source, int flags);
};

using TSoundRef = std::shared_ptr<TSoundClip>;

// Streamed sounds and their sources (see sound_stream.h).
class TStreamSound;
class TSoundSource;

// The silent driver, and the base of the others.
class TSoundDriver {
public:
    virtual ~TSoundDriver() = default;
    // Takes the sample by value: a caller that hands over its only reference
    // lets the driver free the frames as soon as its own copy exists.
    virtual TSoundRef CreateSound(std::shared_ptr<TPcmSample> sample, int flags);
    virtual TChannelRef AllocateChannel();
    // A sound that plays from the source; the silent driver's closes the
    // source at once and plays nothing.
    virtual std::shared_ptr<TStreamSound> CreateStreamSound(std::shared_ptr<TSoundSource> source, int flags);
};

TSoundDriver& SoundDriver();
void SetSoundDriver(std::shared_ptr<TSoundDriver> driver);

// The public surface.
TSoundRef MakeSound(const TUrl& source, int flags);
TChannelRef StartSound(const TSoundRef& sound, const TChannelRef& channel = nullptr);
TChannelRef StartSoundPaused(const TSoundRef& sound, const TChannelRef& channel = nullptr);
TChannelRef ReserveChannel();
// Channel operations; a null channel is ignored and gives 0.
int StopChannel(const TChannelRef& channel);
int SetChannelPaused(const TChannelRef& channel, int paused);
int PauseChannel(const TChannelRef& channel);
int ResumeChannel(const TChannelRef& channel);
int SetChannelVolume(const TChannelRef& channel, float volume);
int SetChannelPan(const TChannelRef& channel, float pan);
int SetChannelDepth(const TChannelRef& channel, float depth);
int SetChannelRate(const TChannelRef& channel, float rate);
int ChannelPlaying(const TChannelRef& channel);

// The audio module's once-only initialiser: reads WAV samples and makes the
// silent driver current.
void InitAudioModule();

}  // namespace vesk
