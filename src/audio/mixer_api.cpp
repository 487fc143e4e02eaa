// The Mixer… functions: the handle table with its generations, and the
// main thread's side of handing voices to the mixing thread.
#include <vesk/audio/mixer.h>

#include "audio/mixer_engine.h"
#include "audio/stream_feeder.h"
#include "audio/stream_record.h"
#include "runtime/std_compat.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

namespace vesk {
namespace {

constexpr int kSlots = 4096;
constexpr uint32_t kSlotMask = kSlots - 1;

// Slot 0 heads the free list and is never handed out. A handle is its slot
// or its generation, which grows by 4096 on every hand-out.
struct HandleTable {
    std::array<sound*, kSlots> voice{};
    std::array<int32_t, kSlots> link{};
    std::array<uint32_t, kSlots> generation{};
    // A slot is in use from its hand-out until it is given back; a handle
    // whose slot is free does not resolve.
    std::array<bool, kSlots> inUse{};

    HandleTable() {
        for (int i = 0; i < kSlots; ++i) link[i] = i + 1;
        link[kSlots - 1] = 0;
        generation.fill(kSlots);
    }

    int32_t HandOut() {
        const int32_t slot = link[0];
        if (slot == 0) return 0;
        link[0] = link[slot];
        link[slot] = 0;
        generation[slot] += kSlots;
        inUse[slot] = true;
        voice[slot] = nullptr;
        return static_cast<int32_t>(static_cast<uint32_t>(slot) | generation[slot]);
    }

    // The slot of a handle that is handed out and current, or 0.
    uint32_t SlotOf(int32_t handle) const {
        const uint32_t slot = static_cast<uint32_t>(handle) & kSlotMask;
        if (slot == 0 || !inUse[slot]) return 0;
        return generation[slot] == (static_cast<uint32_t>(handle) & ~kSlotMask) ? slot : 0;
    }

    void GiveBack(uint32_t slot) {
        voice[slot] = nullptr;
        inUse[slot] = false;
        link[slot] = link[0];
        link[0] = static_cast<int32_t>(slot);
    }
};

std::unique_ptr<audiodevice> device;
std::unique_ptr<HandleTable> table;

struct Parameters {
    int32_t rate = kNormalRate;
    int16_t volume = kFullVolume, pan = 0, depth = 0;
};

Parameters TargetsOf(sound& voice) {
    return {voice.GetRate(1), voice.GetVolume(1), voice.GetPan(1), voice.GetDepth(1)};
}

// Changes a state that is not finished; a finished voice belongs to the
// mixing thread's recycling and is left alone.
template <typename Change>
void ChangeLiveState(sound& voice, Change change) {
    int32_t state = voice.State();
    while (state != VoiceFinished &&
           !voice.state.compare_exchange_weak(state, change(state), std::memory_order_relaxed)) {
    }
}

// A voice from the recycled ring (giving back the handle its last play took),
// a spare one, or a new one, with the previous voice's targets or the defaults.
sound* PrepareVoice(mixer& engine, sound* previous) {
    const Parameters parameters = previous ? TargetsOf(*previous) : Parameters{};
    sound* voice = engine.TakeVoice();
    if (voice->autoHandle) {
        const uint32_t slot = table->SlotOf(voice->autoHandle);
        if (slot && table->voice[slot] == voice) table->GiveBack(slot);
        voice->autoHandle = 0;
    }
    voice->InheritParameters(parameters.rate, parameters.volume, parameters.pan, parameters.depth);
    voice->state.store(VoiceStopped, std::memory_order_relaxed);
    voice->recycleAtEnd = false;
    voice->record = nullptr;
    voice->stream = nullptr;
    voice->position = 0;
    voice->next = nullptr;
    return voice;
}

// The voice behind a handle; a handle that nothing has played on yet gets a
// voice of its own that holds the channel's parameters until a play.
sound* Resolve(int32_t handle) {
    if (!table || handle == 0) return nullptr;
    const uint32_t slot = table->SlotOf(handle);
    if (!slot) return nullptr;
    if (!table->voice[slot]) table->voice[slot] = PrepareVoice(*device->Mixer(), nullptr);
    return table->voice[slot];
}

// A voice replaced on its channel is no longer reachable by the program: one
// the mixing thread has seen is marked finished so that it is recycled, one
// it never saw is kept for the next play.
void HandBack(mixer& engine, sound& voice) {
    voice.autoHandle = 0;
    if (!voice.queued) {
        engine.KeepSpare(&voice);
        return;
    }
    ChangeLiveState(voice, [](int32_t) { return int32_t{VoiceFinished}; });
}

// The mixer needs a running output and room in the incoming ring, and plays
// 16-bit stereo records only.
bool Playable(const mixer& engine) { return engine.outputRate != 0 && !engine.incoming.Full(); }

bool Playable(const mixer& engine, const SoundRecord& record) {
    return record.channels == 2 && record.bitsPerSample == 16 && Playable(engine);
}

// What a new voice plays: a record, or a streamed play (whose loops its
// feeder makes, so the voice itself plays once).
struct VoiceSource {
    SoundRecord* record = nullptr;
    StreamRecord* stream = nullptr;
};

// Queues a voice for the source on the handle (0 for a new one), as
// MixerPlay describes; the source has been found playable.
int32_t StartVoice(mixer& engine, const VoiceSource& source, int paused, int32_t handle, sound* previous) {
    const bool ownHandle = handle == 0;
    if (ownHandle) {
        handle = table->HandOut();
    } else {
        HandBack(engine, *previous);
    }
    sound* voice = PrepareVoice(engine, previous);
    if (source.record) source.record->references.fetch_add(1, std::memory_order_relaxed);
    voice->record = source.record;
    voice->stream = source.stream;
    voice->recycleAtEnd = ownHandle;
    voice->autoHandle = ownHandle ? handle : 0;
    int32_t flags = source.record && source.record->loop ? VoicePlayingLooped : VoicePlayingOnce;
    if (paused) flags |= VoicePausedBit;
    voice->state.store(flags, std::memory_order_relaxed);
    if (handle != 0) table->voice[table->SlotOf(handle)] = voice;
    voice->queued = true;
    engine.incoming.Push(voice);
    return handle;
}

// Reals scaled to fixed point, saturating at the ends of the type (NaN is 0).
template <typename Integer>
Integer ToFixed(float value, float scale) {
    const double scaled = std::trunc(static_cast<double>(value) * scale);
    if (std::isnan(scaled)) return 0;
    constexpr double low = std::numeric_limits<Integer>::min(), high = std::numeric_limits<Integer>::max();
    return static_cast<Integer>(scaled < low ? low : scaled > high ? high : scaled);
}

}  // namespace

int MixerOpenWith(std::unique_ptr<audiodevice> newDevice) {
    if (device) return 0;
    if (newDevice->Start() != 0) {
        newDevice->Shutdown();
        return -1;
    }
    device = std::move(newDevice);
    table = std::make_unique<HandleTable>();
    return 0;
}

mixer* CurrentMixer() { return device ? device->Mixer() : nullptr; }

int MixerOpen() {
    if (device) return 0;
    return MixerOpenWith(MakePlatformAudioDevice());
}

// The output is stopped before the mixer goes, so no pass runs on freed
// voices; the engine's stream feeding stops with it.
int MixerClose() {
    StopBackgroundFeeding();
    table.reset();
    if (device) device->Shutdown();
    device.reset();
    return 0;
}

SoundRecord* MixerCreateSound(int32_t length, int32_t bits, int32_t channels, int32_t hertz, const void* frames,
                              int32_t loop) {
    if (!table || length < 0 || bits < 0 || channels < 0) return nullptr;
    const int64_t bytesPerFrame = int64_t{channels} * std::max(bits, 8) / 8;
    const int64_t byteSize = bytesPerFrame * length;
    if (byteSize > std::numeric_limits<int32_t>::max()) return nullptr;
    auto* record = new SoundRecord;
    record->framesPerSecond = hertz;
    record->channels = channels;
    record->bitsPerSample = bits;
    record->length = length;
    record->bytesPerFrame = static_cast<int32_t>(bytesPerFrame);
    record->byteSize = static_cast<int32_t>(byteSize);
    record->data = MakeUninitialisedArray<uint8_t>(static_cast<size_t>(byteSize));
    if (frames) {
        std::memcpy(record->data.get(), frames, static_cast<size_t>(byteSize));
        record->writeCursor = record->byteSize;
    }
    record->loop = loop ? -1 : 0;
    return record;
}

int MixerFreeSound(SoundRecord* record) {
    if (table) ReleaseRecord(record);
    return 0;
}

int32_t MixerAllocChannel() { return table ? table->HandOut() : 0; }

int32_t MixerPlay(SoundRecord* record, int paused, int32_t handle) {
    if (!table || !record) return handle;
    mixer& engine = *device->Mixer();
    sound* previous = nullptr;
    if (handle != 0 && !(previous = Resolve(handle))) return handle;
    if (!Playable(engine, *record)) return 0;
    return StartVoice(engine, {record, nullptr}, paused, handle, previous);
}

int32_t MixerPlayStream(StreamRecord* stream, int paused, int32_t handle) {
    if (!table || !stream) return 0;
    mixer& engine = *device->Mixer();
    sound* previous = nullptr;
    if (handle != 0 && !(previous = Resolve(handle))) return 0;
    if (!Playable(engine)) return 0;
    engine.PrepareStreams();
    return StartVoice(engine, {nullptr, stream}, paused, handle, previous);
}

int MixerStatus(int32_t handle) {
    sound* voice = Resolve(handle);
    return voice ? voice->State() : 0;
}

// A stopped fire-and-forget voice is finished at once, so that it is recycled
// and its handle given back; one on a channel the program holds stays stopped.
int MixerStop(int32_t handle) {
    sound* voice = Resolve(handle);
    if (!voice) return 0;
    const int32_t stopped = voice->recycleAtEnd ? VoiceFinished : VoiceStopped;
    ChangeLiveState(*voice, [stopped](int32_t) { return stopped; });
    return 0;
}

int MixerPause(int32_t handle, int flag) {
    sound* voice = Resolve(handle);
    if (!voice) return 0;
    if (flag) {
        ChangeLiveState(*voice, [](int32_t state) { return state | VoicePausedBit; });
    } else {
        ChangeLiveState(*voice, [](int32_t state) { return state & ~VoicePausedBit; });
    }
    return 0;
}

int MixerSetVolume(int32_t handle, float volume) {
    if (sound* voice = Resolve(handle)) voice->SetVolume(ToFixed<int16_t>(volume, 4096));
    return 0;
}

int MixerSetPan(int32_t handle, float pan) {
    if (sound* voice = Resolve(handle)) voice->SetPan(ToFixed<int16_t>(pan, 4096));
    return 0;
}

int MixerSetDepth(int32_t handle, float depth) {
    if (sound* voice = Resolve(handle)) voice->SetDepth(ToFixed<int16_t>(depth, 4096));
    return 0;
}

int MixerSetRate(int32_t handle, float rate) {
    if (sound* voice = Resolve(handle)) voice->SetRate(ToFixed<int32_t>(rate, 65536));
    return 0;
}

}  // namespace vesk
