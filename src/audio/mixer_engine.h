// The sound engine under the mixer driver: sound records holding their own
// copy of 16-bit stereo frames, voices that play them, and the mixer that adds
// every playing voice into one 44100 Hz stereo 16-bit stream. Mixing runs on
// the audio device's thread; the main thread only prepares voices and hands
// them over through a ring, and later takes finished ones back through a
// second ring. Nothing here takes a lock.
//
// Fixed-point encodings: rate has 16 fraction bits (65536 is normal speed);
// volume, pan and depth have 12 (4096 is 1.0). A play position has 32
// fraction bits over a count of 16-bit samples in the record.
#pragma once

#include "audio/voice_ring.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace vesk {

constexpr int kVoiceRingSlots = 4096;
constexpr int32_t kNormalRate = 65536;
constexpr int16_t kFullVolume = 4096;
// A streamed voice passes at most this many frames of its source per output
// frame (16 fraction bits): what one pass copies out of a stream's ring is
// bounded, and so is the window it goes into.
constexpr int64_t kLargestStreamStep = int64_t{8} << 16;

struct StreamRecord;

// Voice states. The paused bit is added to a playing state.
enum VoiceState : int32_t {
    VoiceFinished = 0,  // to be recycled
    VoiceStopped = 1,   // silent, kept while a channel may still refer to it
    VoicePlayingOnce = 2,
    VoicePlayingLooped = 4,
    VoicePausedBit = 16,
};

struct SoundRecord {
    int32_t framesPerSecond = 0;
    int32_t channels = 0;
    int32_t bitsPerSample = 0;
    int32_t length = 0;  // frames
    int32_t bytesPerFrame = 0;
    int32_t byteSize = 0;
    // Dropped by the main thread (the sound's owner) and by the mixing thread
    // (a voice that ended), so it must be atomic.
    std::atomic<int32_t> references{1};
    int32_t loop = 0;  // 0, or -1 to loop
    std::unique_ptr<uint8_t[]> data;
    int32_t writeCursor = 0;  // bytes copied in so far
};

// Drops one reference; the frames go with the last one. Safe on either thread.
void ReleaseRecord(SoundRecord* record);

// A holder of playback parameters. The mixer itself is one: its setters do
// nothing and its getters report the neutral values.
class output {
public:
    virtual ~output() = default;
    virtual void SetRate(int32_t) {}
    virtual void SetVolume(int16_t) {}
    virtual void SetPan(int16_t) {}
    virtual void SetDepth(int16_t) {}
    // A non-zero flag asks for the target value, zero for the current one.
    virtual int32_t GetRate(int) { return kNormalRate; }
    virtual int16_t GetVolume(int) { return kFullVolume; }
    virtual int16_t GetPan(int) { return 0; }
    virtual int16_t GetDepth(int) { return 0; }
};

class mixer;

// One voice. The main thread writes targets and states; the mixing thread
// reads them and writes current values and end states. Those shared fields
// are relaxed atomics: each is meaningful on its own, and the rings order
// everything else. `record`, `position` and `next` belong to whichever
// thread holds the voice (the rings hand them over).
class sound : public output {
public:
    explicit sound(mixer* owner) : owner(owner) {}

    void SetRate(int32_t rate) override { rateTarget.store(rate, std::memory_order_relaxed); }
    void SetVolume(int16_t volume) override { volumeTarget.store(volume, std::memory_order_relaxed); }
    void SetPan(int16_t pan) override { panTarget.store(pan, std::memory_order_relaxed); }
    void SetDepth(int16_t depth) override { depthTarget.store(depth, std::memory_order_relaxed); }
    int32_t GetRate(int target) override { return Pick(rateTarget, rateCurrent, target); }
    int16_t GetVolume(int target) override { return Pick(volumeTarget, volumeCurrent, target); }
    int16_t GetPan(int target) override { return Pick(panTarget, panCurrent, target); }
    int16_t GetDepth(int target) override { return Pick(depthTarget, depthCurrent, target); }

    // Back to a new voice's parameters: normal rate, full volume, centred.
    void ResetParameters();
    // Current and target both take the given voice's targets.
    void InheritParameters(int32_t rate, int16_t volume, int16_t pan, int16_t depth);

    int32_t State() const { return state.load(std::memory_order_relaxed); }

    mixer* owner;
    std::atomic<int32_t> state{VoiceStopped};
    // A fire-and-forget play (on a handle taken for it, or on none) is
    // recycled when it ends; a play on a channel the program holds stops and
    // stays, so the channel still reports on it. Set before the voice is queued.
    bool recycleAtEnd = false;
    sound* next = nullptr;  // in the active list
    SoundRecord* record = nullptr;
    // A streamed play instead of a record. The mixing thread lets go of it
    // (DetachStream) as soon as the voice stops, ends or is recycled.
    StreamRecord* stream = nullptr;
    uint64_t position = 0;
    std::atomic<int32_t> rateCurrent{kNormalRate}, rateTarget{kNormalRate};
    std::atomic<int16_t> volumeCurrent{kFullVolume}, volumeTarget{kFullVolume};
    std::atomic<int16_t> panCurrent{0}, panTarget{0};
    std::atomic<int16_t> depthCurrent{0}, depthTarget{0};
    // Main thread only.
    int32_t autoHandle = 0;  // the handle taken for this play, 0 if none
    bool queued = false;     // handed to the mixing thread at least once

private:
    template <typename V>
    static V Pick(const std::atomic<V>& target, const std::atomic<V>& current, int wantTarget) {
        return (wantTarget ? target : current).load(std::memory_order_relaxed);
    }
};

// Mixing thread (or while it is idle): the voice lets go of its stream, and
// tells the stream's owner so.
void DetachStream(sound& voice);

// The result of mixing one voice for one pass.
enum MixResult : int { MixRecycle = -1, MixGoOn = 0, MixEnded = 1, MixPaused = -2 };

class mixer : public output {
public:
    explicit mixer(int samplesPerPass);
    // Drops the records that voices still hold; the device has stopped by now.
    ~mixer() override;

    // Mixing thread: one pass of samplesPerPass 16-bit samples into destination.
    void MixPass(int16_t* destination);
    // Mixing thread: adds one voice's next samples into the accumulator.
    int MixVoice(sound& voice, int32_t* accumulator, int samples);

    // Main thread, before the first streamed voice is queued: makes the
    // window that streamed passes copy their frames into.
    void PrepareStreams();
    // Frames a streamed pass can reach at the largest stream step.
    uint64_t StreamWindowFrames() const {
        return static_cast<uint64_t>(samplesPerPass / 2) * static_cast<uint64_t>(kLargestStreamStep >> 16) + 4;
    }

    // Main thread: a voice from the recycled ring, the spare list, or new.
    sound* TakeVoice();
    // Main thread: keeps a voice that never reached the mixing thread for reuse.
    void KeepSpare(sound* voice) { spare_.push_back(voice); }
    // Main thread: how many voices exist in all.
    size_t VoiceCount() const { return voices_.size(); }
    size_t SpareCount() const { return spare_.size(); }
    // Mixing thread (or while it is idle): the states of the voices in the
    // active list.
    std::vector<int32_t> ActiveStates() const;
    size_t ActiveCount() const { return ActiveStates().size(); }

    int samplesPerPass;
    int32_t outputRate = 0;
    int32_t outputChannels = 0;
    VoiceRing<sound, kVoiceRingSlots> incoming;  // main thread to mixing thread
    VoiceRing<sound, kVoiceRingSlots> recycled;  // mixing thread to main thread

private:
    void Activate();
    void ApplyResult(sound** link, sound& voice, int result);
    void Store(int16_t* destination);
    int MixStream(sound& voice, StreamRecord& stream, int32_t* accumulator, int samples);
    void CopyWindow(StreamRecord& stream, uint64_t first, uint64_t present, uint64_t reach);
    void Advance(StreamRecord& stream, uint64_t passed, uint64_t missing, uint64_t written);

    std::vector<int32_t> accumulator_;
    std::vector<int16_t> streamWindow_;  // made on the main thread before any stream plays
    sound* active_ = nullptr;
    // Main thread only: every voice ever made (the mixer owns them) and the
    // voices that were made but never queued and are free again.
    std::vector<std::unique_ptr<sound>> voices_;
    std::vector<sound*> spare_;
};

// An audio output that pulls mixed buffers from its mixer.
class audiodevice {
public:
    virtual ~audiodevice() = default;
    // 0 on success.
    virtual int Start() { return 0; }
    virtual int Shutdown() { return 0; }
    mixer* Mixer() const { return mixer_.get(); }

protected:
    // The mixer for the device's output format; the device keeps it.
    mixer& CreateMixer(int samplesPerPass, int32_t rate, int32_t channels);

private:
    std::unique_ptr<mixer> mixer_;
};

// Opens the mixer on the given device (the platform's, or one driven by its
// caller): 0 on success, -1 when the device does not start. While a mixer
// is open this does nothing and returns 0.
int MixerOpenWith(std::unique_ptr<audiodevice> device);
// The platform's own audio output, made by the back end this build links
// (the files named after what they wrap define it).
std::unique_ptr<audiodevice> MakePlatformAudioDevice();
// The open mixer, or null.
mixer* CurrentMixer();

}  // namespace vesk
