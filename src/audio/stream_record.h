// One play of a streamed sound on its way to the mixing thread: a ring of
// 16-bit stereo frames at the source's rate, written ahead of the playhead
// by a feeder (the engine's feeding thread, a browser timer or the main
// thread) and read by the mixing thread, which never waits for it. Like the
// voice rings, it is single-producer, single-consumer: the feeder publishes
// frames by advancing `written` with release ordering, the mixer gives
// space back by advancing `consumed`. Counts run from the play's first frame
// and never wrap (64 bits of frames outlast any play).
//
// The playhead keeps time whatever arrives: frames that are not there when
// the mixer needs them play as silence and are counted, and if they arrive
// later they are skipped, so a late block never delays the rest.
#pragma once

#include <atomic>
#include <cstdint>
#include <limits>
#include <memory>

namespace vesk {

struct StreamRecord {
    static constexpr uint64_t kNoEnd = std::numeric_limits<uint64_t>::max();

    StreamRecord(int32_t framesPerSecond, uint32_t capacityFrames)
        : framesPerSecond(framesPerSecond),
          capacity(capacityFrames),
          ring(std::make_unique<int16_t[]>(size_t{capacityFrames} * 2)) {}

    int16_t* Frame(uint64_t frame) { return ring.get() + (frame & (capacity - 1)) * 2; }

    const int32_t framesPerSecond;
    const uint32_t capacity;  // frames, a power of two
    const std::unique_ptr<int16_t[]> ring;

    // Feeder to mixer. The end is stored once, after the last frame it
    // covers; frames between `written` and the end never come (the source
    // broke) and play as counted silence.
    std::atomic<uint64_t> written{0};
    std::atomic<uint64_t> end{kNoEnd};
    // Mixer to feeder: the frames below this may be written over.
    std::atomic<uint64_t> consumed{0};
    // Owner to mixer: the play is over; the voice ends at its next pass,
    // paused or not.
    std::atomic<bool> closed{false};
    // Mixer to owner: no voice will read the record again, so it may go.
    std::atomic<bool> released{false};

    // What the play met, for anyone to read: frames the playhead passed,
    // those of them that were missing, and the runs they came in.
    std::atomic<uint64_t> played{0};
    std::atomic<uint64_t> missed{0};
    std::atomic<uint32_t> underruns{0};
    std::atomic<bool> broken{false};

    // The mixing thread's own: its playhead, and whether its last pass
    // ended short of frames (a run of missing frames is one underrun).
    uint64_t playhead = 0;
    bool missing = false;
};

}  // namespace vesk
