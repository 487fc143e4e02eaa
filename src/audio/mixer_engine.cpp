#include "audio/mixer_engine.h"

#include <algorithm>

namespace vesk {

void ReleaseRecord(SoundRecord* record) {
    if (!record) return;
    if (record->references.fetch_sub(1, std::memory_order_acq_rel) == 1) delete record;
}

void sound::ResetParameters() { InheritParameters(kNormalRate, kFullVolume, 0, 0); }

void sound::InheritParameters(int32_t rate, int16_t volume, int16_t pan, int16_t depth) {
    constexpr auto relaxed = std::memory_order_relaxed;
    rateCurrent.store(rate, relaxed);
    rateTarget.store(rate, relaxed);
    volumeCurrent.store(volume, relaxed);
    volumeTarget.store(volume, relaxed);
    panCurrent.store(pan, relaxed);
    panTarget.store(pan, relaxed);
    depthCurrent.store(depth, relaxed);
    depthTarget.store(depth, relaxed);
}

mixer::mixer(int samplesPerPass) : samplesPerPass(samplesPerPass), accumulator_(samplesPerPass, 0) {}

mixer::~mixer() {
    for (auto& voice : voices_) {
        ReleaseRecord(voice->record);
        DetachStream(*voice);
    }
}

void mixer::PrepareStreams() {
    if (streamWindow_.empty()) streamWindow_.assign(StreamWindowFrames() * 2, 0);
}

sound* mixer::TakeVoice() {
    if (sound* voice = recycled.Pop()) return voice;
    if (!spare_.empty()) {
        sound* voice = spare_.back();
        spare_.pop_back();
        return voice;
    }
    voices_.push_back(std::make_unique<sound>(this));
    return voices_.back().get();
}

// New voices go to the front of the active list, in ring order.
void mixer::Activate() {
    while (sound* voice = incoming.Pop()) {
        voice->next = active_;
        active_ = voice;
    }
}

// The end state is written only over the playing state the voice had, so a
// stop, a pause or a hand-back made meanwhile on the main thread is not
// undone. A paused voice that ran out ends on the pass after it resumes.
static void EndVoice(sound& voice) {
    int32_t state = voice.State();
    if (state != VoicePlayingOnce && state != VoicePlayingLooped) return;
    const int32_t ended = voice.recycleAtEnd ? VoiceFinished : VoiceStopped;
    voice.state.compare_exchange_strong(state, ended, std::memory_order_relaxed);
}

void mixer::ApplyResult(sound** link, sound& voice, int result) {
    if (result == MixEnded) EndVoice(voice);
    if (result != MixRecycle) return;
    // A full recycled ring leaves the voice where it is; it is offered again
    // on the next pass.
    if (recycled.Full()) return;
    *link = voice.next;
    voice.next = nullptr;
    ReleaseRecord(voice.record);
    voice.record = nullptr;
    DetachStream(voice);
    recycled.Push(&voice);
}

// Locals rather than members in the loop, so the compiler can tell the
// accumulator stores from the count and turn the loop into vector code.
void mixer::Store(int16_t* destination) {
    int32_t* accumulator = accumulator_.data();
    const int count = samplesPerPass;
    for (int i = 0; i < count; ++i) {
        destination[i] = static_cast<int16_t>(std::clamp(accumulator[i] >> 4, -32768, 32767));
        accumulator[i] = 0;
    }
}

void mixer::MixPass(int16_t* destination) {
    Activate();
    sound** link = &active_;
    while (sound* voice = *link) {
        const int result = MixVoice(*voice, accumulator_.data(), samplesPerPass);
        ApplyResult(link, *voice, result);
        if (*link == voice) link = &voice->next;
    }
    Store(destination);
}

std::vector<int32_t> mixer::ActiveStates() const {
    std::vector<int32_t> states;
    for (const sound* voice = active_; voice; voice = voice->next) states.push_back(voice->State());
    return states;
}

mixer& audiodevice::CreateMixer(int samplesPerPass, int32_t rate, int32_t channels) {
    mixer_ = std::make_unique<mixer>(samplesPerPass);
    mixer_->outputRate = rate;
    mixer_->outputChannels = channels;
    return *mixer_;
}

}  // namespace vesk
