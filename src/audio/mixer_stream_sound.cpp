#include "audio/mixer_stream_sound.h"

#include <vesk/audio/mixer.h>
#include <vesk/audio/mixer_driver.h>

#include "audio/stream_feeder.h"

namespace vesk {
namespace {

TStreamStatus StatusOf(const StreamRecord& record) {
    constexpr auto relaxed = std::memory_order_relaxed;
    return {record.played.load(relaxed), record.missed.load(relaxed), record.underruns.load(relaxed),
            record.broken.load(relaxed)};
}

bool Rewound(TSoundSource& source) {
    try {
        return source.Rewind();
    } catch (...) {
        return false;
    }
}

}  // namespace

TMixerStreamSound::~TMixerStreamSound() { Close(); }

// Under the feed lock: the play before ends, the source starts over, and
// the new play's ring is filled before any voice reads it.
StreamFeed* TMixerStreamSound::BeginPlay() {
    EndPlay();
    if (closed_ || (read_ && !Rewound(*source_))) return nullptr;
    read_ = true;
    StreamFeed& feed = AddFeed(source_, loop_);
    feed.Fill(StreamFeed::kPrefillFrames);
    return &feed;
}

void TMixerStreamSound::EndPlay() {
    if (!feed_) return;
    last_ = StatusOf(feed_->record);
    feed_->Drop();
    feed_ = nullptr;
}

TChannelRef TMixerStreamSound::Start(const TChannelRef& channel, int paused) {
    const auto mixerChannel = std::dynamic_pointer_cast<TMixerChannel>(channel);
    if (channel && !mixerChannel) return nullptr;
    int32_t handle = 0;
    {
        std::lock_guard<std::mutex> lock(FeedLock());
        StreamFeed* feed = BeginPlay();
        if (!feed) return nullptr;
        handle = MixerPlayStream(&feed->record, paused, mixerChannel ? mixerChannel->handle : 0);
        if (handle == 0) {
            // No voice took the play, so none will release it.
            feed->record.released.store(true, std::memory_order_release);
            feed->Drop();
            return nullptr;
        }
        feed_ = feed;
    }
    EnsureBackgroundFeeding();
    if (mixerChannel && mixerChannel->handle == handle) return mixerChannel;
    return TMixerChannel::Create(handle);
}

TStreamStatus TMixerStreamSound::Status() {
    std::lock_guard<std::mutex> lock(FeedLock());
    if (feed_) last_ = StatusOf(feed_->record);
    return last_;
}

void TMixerStreamSound::Close() {
    std::lock_guard<std::mutex> lock(FeedLock());
    if (closed_) return;
    EndPlay();
    source_->Close();
    closed_ = true;
}

}  // namespace vesk
