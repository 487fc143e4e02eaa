// The feeding side of streamed sounds: every live play with its source and
// its ring, filled ahead of the mixing thread. One lock is shared by all who
// feed or change the list (the engine's feeding thread or timer,
// FeedSoundStreams, and the sounds that start and end plays); the mixing
// thread never takes it.
#pragma once

#include <vesk/audio/sound_stream.h>

#include "audio/stream_record.h"

#include <cstdint>
#include <mutex>

namespace vesk {

// One play: its ring and what fills it. The source's frames go into the
// ring in order; at the source's end the play loops (the source rewound) or
// ends, and a break ends it early.
class StreamFeed {
public:
    static constexpr uint32_t kRingFrames = 1u << 17;
    // What a play holds before its first pass, about a second and a half at
    // 44100 Hz: enough for the mixer to start on whatever the feeding does
    // meanwhile, even where the audio output catches up on a busy start by
    // asking for several passes in a row (a browser's does).
    static constexpr uint64_t kPrefillFrames = 1u << 16;

    StreamFeed(TSoundSourceRef source, bool loop);

    // Under the lock: writes up to `limit` frames into the ring's free room.
    // Returns true when the ring still has room afterwards.
    bool Fill(uint64_t limit);
    // Under the lock: the owner is done with the play; its voice ends.
    void Drop();
    // Under the lock: the feeder may forget the play.
    bool Forgettable() const { return dropped_ && record.released.load(std::memory_order_acquire); }

    StreamRecord record;

private:
    bool Continue();
    void End();
    void Break();

    TSoundSourceRef source_;
    const bool loop_;
    const int64_t length_;  // -1 for a source without an end
    uint64_t firstOfPass_ = 0;  // the frame where the source's latest pass began
    int64_t delivered_ = 0;     // frames of that pass so far
    bool ended_ = false;
    bool dropped_ = false;
};

std::mutex& FeedLock();
// Under the lock: a new play of the source, kept until Forgettable.
StreamFeed& AddFeed(TSoundSourceRef source, bool loop);
// The plays the feeder still keeps, once it has forgotten those both sides
// are done with.
size_t LiveFeeds();
// Under the lock: fills every play a step further and forgets those both
// sides are done with. True when some ring still has room.
bool FeedAllOnce();

// The engine's own feeding, on the platform's terms (a thread on the
// desktop, a timer in a browser): started with the first streamed sound
// when feeding is automatic, stopped when the mixer closes.
void EnsureBackgroundFeeding();
void StartBackgroundFeeding();
void StopBackgroundFeeding();

}  // namespace vesk
