// Mixing one voice into the accumulator: integer fixed point throughout,
// nearest-sample resampling, one multiply, shift and add per sample. Volume
// and rate changes are ramped linearly across one pass; pan and depth apply
// at once.
#include "audio/mixer_engine.h"

#include "audio/stream_record.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vesk {
namespace {

static_assert(std::endian::native == std::endian::little, "records hold little-endian samples");

constexpr uint64_t kFractionMask = 0xFFFFFFFFull;
// Two samples (one stereo frame) per output frame.
constexpr uint64_t kUnitIncrement = 2ull << 32;
// Far beyond any useful speed; keeps every increment and the positions they
// add up to well inside 64 bits, whatever rate or frame rate comes in.
constexpr int64_t kLargestStep = int64_t{1} << 31;

struct Gains {
    int16_t left;
    int16_t right;
};

Gains GainsFor(int16_t volume, int16_t pan, int16_t depth) {
    int32_t left = volume, right = volume;
    if (pan > 0) left = (volume * (4096 - pan)) >> 12;
    if (pan < 0) right = (volume * (4096 + pan)) >> 12;
    Gains gains{static_cast<int16_t>(left), static_cast<int16_t>(right)};
    if (depth < 0) gains.right = static_cast<int16_t>(-gains.right);
    return gains;
}

// Output frames per record frame, 16 fraction bits; a negative rate holds still.
int64_t StepFor(int32_t rate, int32_t framesPerSecond, int32_t outputRate) {
    const int64_t step = int64_t{rate} * framesPerSecond / outputRate;
    return std::clamp<int64_t>(step, 0, kLargestStep);
}

// Two samples per frame, as a 32.32 increment of the position.
int64_t IncrementFor(int64_t step) { return (step * 2) << 16; }

// The play position in one record. The position always stays below the
// record's end between frames, so every sample read is inside the record.
struct Cursor {
    const int16_t* samples;
    uint64_t total;  // samples in the record
    bool loop;
    uint64_t position;

    uint64_t Whole() const { return position >> 32; }

    // True when a non-looping voice has run out; a looping one wraps to its
    // start with the fraction kept.
    bool PassedEnd() {
        const uint64_t whole = Whole();
        if (whole < total) return false;
        if (!loop) return true;
        position = ((whole % total) << 32) | (position & kFractionMask);
        return false;
    }

    // Frames that can be mixed at a steady increment before the end test fires.
    uint64_t FramesBeforeEnd(uint64_t increment) const {
        if (increment == 0) return UINT64_MAX;
        const uint64_t room = (total << 32) - position;
        return (room + increment - 1) / increment;
    }

    void MixFrame(Gains gains, int32_t* out) const {
        const uint64_t i = Whole() & ~uint64_t{1};
        out[0] += (samples[i] * gains.left) >> 8;
        out[1] += (samples[i + 1] * gains.right) >> 8;
    }
};

// The common case (a record at the output rate, normal speed) reads the
// record straight through, which the compiler turns into vector code.
void MixUnitRun(const int16_t* source, Gains gains, int32_t* out, int frames) {
    if (gains.left == gains.right) {
        for (int s = 0; s < frames * 2; ++s) out[s] += (source[s] * gains.left) >> 8;
        return;
    }
    for (int f = 0; f < frames; ++f) {
        out[2 * f] += (source[2 * f] * gains.left) >> 8;
        out[2 * f + 1] += (source[2 * f + 1] * gains.right) >> 8;
    }
}

// Frames that do not reach the end of the record.
void MixRun(Cursor& cursor, uint64_t increment, Gains gains, int32_t* out, int frames) {
    if (increment == kUnitIncrement) {
        MixUnitRun(cursor.samples + (cursor.Whole() & ~uint64_t{1}), gains, out, frames);
        cursor.position += increment * static_cast<uint64_t>(frames);
        return;
    }
    for (int f = 0; f < frames; ++f, out += 2) {
        cursor.MixFrame(gains, out);
        cursor.position += increment;
    }
}

int MixSteady(Cursor& cursor, uint64_t increment, Gains gains, int32_t* out, int frames) {
    for (int done = 0; done < frames;) {
        const int run = static_cast<int>(std::min<uint64_t>(cursor.FramesBeforeEnd(increment), frames - done));
        MixRun(cursor, increment, gains, out + 2 * done, run);
        done += run;
        if (cursor.PassedEnd()) return MixEnded;
    }
    return MixGoOn;
}

struct Ramp {
    int32_t level;  // volume with 8 more fraction bits
    int32_t levelDelta;
    int64_t increment;
    int64_t incrementDelta;
};

int MixRamp(Cursor& cursor, Ramp ramp, int16_t pan, int16_t depth, int32_t* out, int frames) {
    for (int f = 0; f < frames; ++f, out += 2) {
        cursor.MixFrame(GainsFor(static_cast<int16_t>(ramp.level >> 8), pan, depth), out);
        ramp.level += ramp.levelDelta;
        cursor.position += static_cast<uint64_t>(ramp.increment);
        ramp.increment += ramp.incrementDelta;
        if (cursor.PassedEnd()) return MixEnded;
    }
    return MixGoOn;
}

// The largest step a voice may take: far beyond any useful speed for a
// record; for a stream, what one pass can copy out of its ring.
int64_t StepFor(int32_t rate, int32_t framesPerSecond, int32_t outputRate, int64_t largest) {
    return std::min(StepFor(rate, framesPerSecond, outputRate), largest);
}

// One pass of a voice over the samples a cursor reaches: at a steady volume
// and rate, or ramped from the current values to the targets, which become
// the current ones.
int MixCursor(sound& voice, Cursor& cursor, int64_t largestStep, int32_t framesPerSecond, int32_t outputRate,
              int32_t* accumulator, int frames) {
    constexpr auto relaxed = std::memory_order_relaxed;
    const int32_t rateNow = voice.rateCurrent.load(relaxed), rateTarget = voice.rateTarget.load(relaxed);
    const int16_t volumeNow = voice.volumeCurrent.load(relaxed), volumeTarget = voice.volumeTarget.load(relaxed);
    const int16_t pan = voice.panTarget.load(relaxed), depth = voice.depthTarget.load(relaxed);
    const int64_t stepNow = StepFor(rateNow, framesPerSecond, outputRate, largestStep);
    const int64_t stepTarget = StepFor(rateTarget, framesPerSecond, outputRate, largestStep);

    if (volumeNow == volumeTarget && stepNow == stepTarget) {
        const uint64_t increment = static_cast<uint64_t>(IncrementFor(stepNow));
        if (volumeNow != 0) return MixSteady(cursor, increment, GainsFor(volumeNow, pan, depth), accumulator, frames);
        cursor.position += increment * static_cast<uint64_t>(frames);
        return cursor.PassedEnd() ? MixEnded : MixGoOn;
    }
    const Ramp ramp{volumeNow * 256, (volumeTarget * 256 - volumeNow * 256) / frames, IncrementFor(stepNow),
                    (IncrementFor(stepTarget) - IncrementFor(stepNow)) / frames};
    voice.volumeCurrent.store(volumeTarget, relaxed);
    voice.rateCurrent.store(rateTarget, relaxed);
    return MixRamp(cursor, ramp, pan, depth, accumulator, frames);
}

// How many frames of its source a voice can pass in one pass at the larger
// of its two rates, from its position, with a frame to spare for rounding.
uint64_t FramesReached(const sound& voice, int64_t largestStep, int32_t framesPerSecond, int32_t outputRate,
                       int frames) {
    constexpr auto relaxed = std::memory_order_relaxed;
    const int64_t step = std::max(StepFor(voice.rateCurrent.load(relaxed), framesPerSecond, outputRate, largestStep),
                                  StepFor(voice.rateTarget.load(relaxed), framesPerSecond, outputRate, largestStep));
    const uint64_t end = voice.position + static_cast<uint64_t>(IncrementFor(step)) * static_cast<uint64_t>(frames);
    return (end >> 33) + 2;
}

}  // namespace

void DetachStream(sound& voice) {
    if (!voice.stream) return;
    voice.stream->released.store(true, std::memory_order_release);
    voice.stream = nullptr;
}

int mixer::MixVoice(sound& voice, int32_t* accumulator, int samples) {
    const int32_t state = voice.State();
    // A stream whose owner closed it ends its voice, paused or not.
    if (voice.stream && (state == VoiceStopped || voice.stream->closed.load(std::memory_order_acquire)))
        DetachStream(voice);
    if (state == VoiceStopped) return MixGoOn;
    if (state & VoicePausedBit) return MixPaused;
    if (state == VoiceFinished) return MixRecycle;
    if (voice.stream) return MixStream(voice, *voice.stream, accumulator, samples);
    const SoundRecord* record = voice.record;
    if (!record) return MixEnded;

    Cursor cursor{reinterpret_cast<const int16_t*>(record->data.get()),
                  static_cast<uint64_t>(record->length) * static_cast<uint64_t>(record->channels),
                  (state & VoicePlayingLooped) != 0, voice.position};
    // An empty record has nothing to play, and a position left past the end
    // (a voice paused just as it ran out) must not be read from.
    if (cursor.total == 0 || cursor.PassedEnd()) return MixEnded;
    const int result =
        MixCursor(voice, cursor, kLargestStep, record->framesPerSecond, outputRate, accumulator, samples / 2);
    voice.position = cursor.position;
    return result;
}

// A stream's pass reads a window of its ring: the frames from the playhead
// that this pass can reach, copied out in a line (silence for those not
// there yet). Its end is the stream's end when the feeder has marked it;
// otherwise the pass cannot reach it. Afterwards the playhead moves on by
// the whole frames passed and only the position's odd sample and fraction
// stay with the voice.
int mixer::MixStream(sound& voice, StreamRecord& stream, int32_t* accumulator, int samples) {
    const int frames = samples / 2;
    const uint64_t end = stream.end.load(std::memory_order_acquire);
    const uint64_t written = stream.written.load(std::memory_order_acquire);
    const uint64_t playhead = stream.playhead;
    uint64_t reach = std::min<uint64_t>(
        FramesReached(voice, kLargestStreamStep, stream.framesPerSecond, outputRate, frames), StreamWindowFrames());
    if (end != StreamRecord::kNoEnd) reach = std::min(reach, end > playhead ? end - playhead : 0);
    const uint64_t present = std::min(reach, written > playhead ? written - playhead : 0);
    CopyWindow(stream, playhead, present, reach);

    Cursor cursor{streamWindow_.data(), reach * 2, false, voice.position};
    int result = MixEnded;
    if (reach != 0) {
        result = MixCursor(voice, cursor, kLargestStreamStep, stream.framesPerSecond, outputRate, accumulator, frames);
    }
    const uint64_t passed = std::min(cursor.Whole() >> 1, reach);
    voice.position = (cursor.position & ((uint64_t{1} << 33) - 1));
    Advance(stream, passed, passed > present ? passed - present : 0, written);
    if (result == MixEnded) DetachStream(voice);
    return result;
}

void mixer::CopyWindow(StreamRecord& stream, uint64_t first, uint64_t present, uint64_t reach) {
    int16_t* window = streamWindow_.data();
    for (uint64_t done = 0; done < present;) {
        const uint64_t at = (first + done) & (stream.capacity - 1);
        const uint64_t run = std::min<uint64_t>(present - done, stream.capacity - at);
        std::memcpy(window + done * 2, stream.ring.get() + at * 2, run * 4);
        done += run;
    }
    std::memset(window + present * 2, 0, (reach - present) * 4);
}

// Frames passed that were missing count, a run of them as one underrun; the
// feeder may write over everything the playhead has passed.
void mixer::Advance(StreamRecord& stream, uint64_t passed, uint64_t missing, uint64_t written) {
    if (missing != 0) {
        stream.missed.fetch_add(missing, std::memory_order_relaxed);
        if (!stream.missing) stream.underruns.fetch_add(1, std::memory_order_relaxed);
    }
    stream.missing = missing != 0;
    stream.playhead += passed;
    stream.played.store(stream.playhead, std::memory_order_relaxed);
    stream.consumed.store(std::min(stream.playhead, written), std::memory_order_release);
}

}  // namespace vesk
