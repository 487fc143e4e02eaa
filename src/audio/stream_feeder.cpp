#include "audio/stream_feeder.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace vesk {
namespace {

// Frames asked of a source at once, and frames one feeding step writes into
// one ring: small enough that a step in a browser's main thread stays short,
// large enough to outrun playback many times over.
constexpr int32_t kReadFrames = 4096;
constexpr uint64_t kStepFrames = 16384;

struct Feeder {
    std::mutex lock;
    std::vector<std::unique_ptr<StreamFeed>> feeds;
    bool automatic = true;
};

// Never destroyed: the feeding thread and the exit handlers may still use it
// while the process's statics go.
Feeder& TheFeeder() {
    static Feeder& feeder = *new Feeder;
    return feeder;
}

}  // namespace

StreamFeed::StreamFeed(TSoundSourceRef source, bool loop)
    : record(source->Hertz(), kRingFrames), source_(std::move(source)), loop_(loop), length_(source_->Length()) {}

// At the end of the source's pass: round again when looping and the source
// can go back, otherwise the play ends here.
bool StreamFeed::Continue() {
    bool rewound = false;
    try {
        rewound = loop_ && length_ > 0 && source_->Rewind();
    } catch (...) {
    }
    if (!rewound) {
        End();
        return false;
    }
    firstOfPass_ = record.written.load(std::memory_order_relaxed);
    delivered_ = 0;
    return true;
}

void StreamFeed::End() {
    record.end.store(record.written.load(std::memory_order_relaxed), std::memory_order_release);
    ended_ = true;
}

// The frames the source still owed to its length play as silence, which
// the mixing thread counts as it passes them. A source without a length
// owes nothing countable, so its break is counted here, as one underrun.
void StreamFeed::Break() {
    record.broken.store(true, std::memory_order_relaxed);
    uint64_t end = record.written.load(std::memory_order_relaxed);
    if (length_ >= 0) {
        end = firstOfPass_ + static_cast<uint64_t>(length_);
    } else {
        record.underruns.fetch_add(1, std::memory_order_relaxed);
    }
    record.end.store(end, std::memory_order_release);
    ended_ = true;
}

// The end of the source's pass is met as soon as its last frame is in, so
// the mixing thread never waits at the end for frames that will not come.
bool StreamFeed::Fill(uint64_t limit) {
    uint64_t written = record.written.load(std::memory_order_relaxed);
    const uint64_t consumed = record.consumed.load(std::memory_order_acquire);
    uint64_t room = record.capacity - (written - consumed);
    for (uint64_t budget = std::min(room, limit); !ended_ && !dropped_;) {
        if (length_ >= 0 && delivered_ == length_ && !Continue()) break;
        if (budget == 0) break;
        const uint64_t contiguous = record.capacity - (written & (record.capacity - 1));
        uint64_t ask = std::min<uint64_t>({budget, contiguous, kReadFrames});
        if (length_ >= 0) ask = std::min<uint64_t>(ask, static_cast<uint64_t>(length_ - delivered_));
        int32_t got = 0;
        try {
            got = source_->Read(record.Frame(written), static_cast<int32_t>(ask));
        } catch (...) {
            got = -1;
        }
        const uint64_t kept = static_cast<uint64_t>(std::clamp<int64_t>(got, 0, static_cast<int64_t>(ask)));
        written += kept;
        delivered_ += static_cast<int64_t>(kept);
        budget -= kept;
        room -= kept;
        record.written.store(written, std::memory_order_release);
        if (got < 0 || kept < ask) Break();
    }
    return room > 0 && !ended_ && !dropped_;
}

void StreamFeed::Drop() {
    record.closed.store(true, std::memory_order_release);
    dropped_ = true;
}

std::mutex& FeedLock() { return TheFeeder().lock; }

StreamFeed& AddFeed(TSoundSourceRef source, bool loop) {
    auto& feeds = TheFeeder().feeds;
    feeds.push_back(std::make_unique<StreamFeed>(std::move(source), loop));
    return *feeds.back();
}

void ForgetFinished() {
    std::erase_if(TheFeeder().feeds, [](const std::unique_ptr<StreamFeed>& feed) { return feed->Forgettable(); });
}

size_t LiveFeeds() {
    std::lock_guard<std::mutex> lock(FeedLock());
    ForgetFinished();
    return TheFeeder().feeds.size();
}

bool FeedAllOnce() {
    auto& feeds = TheFeeder().feeds;
    ForgetFinished();
    bool room = false;
    for (auto& feed : feeds) room |= feed->Fill(kStepFrames);
    return room;
}

void FeedSoundStreams() {
    std::lock_guard<std::mutex> lock(FeedLock());
    while (FeedAllOnce()) {
    }
}

void EnsureBackgroundFeeding() {
    bool automatic;
    {
        std::lock_guard<std::mutex> lock(FeedLock());
        automatic = TheFeeder().automatic;
    }
    if (automatic) StartBackgroundFeeding();
}

void SetStreamFeeding(bool automatic) {
    {
        std::lock_guard<std::mutex> lock(FeedLock());
        TheFeeder().automatic = automatic;
    }
    if (automatic) {
        StartBackgroundFeeding();
    } else {
        StopBackgroundFeeding();
    }
}

}  // namespace vesk
