// The mixer driver's streamed sound: each play is a feed (its ring and the
// source) kept by the feeder, and a voice that reads the ring.
#pragma once

#include <vesk/audio/sound_stream.h>

namespace vesk {

class StreamFeed;

class TMixerStreamSound : public TStreamSound {
public:
    TMixerStreamSound(TSoundSourceRef source, bool loop) : source_(std::move(source)), loop_(loop) {}
    ~TMixerStreamSound() override;
    TChannelRef Play(const TChannelRef& channel) override { return Start(channel, 0); }
    TChannelRef Cue(const TChannelRef& channel) override { return Start(channel, 1); }
    TStreamStatus Status() override;
    void Close() override;

private:
    TChannelRef Start(const TChannelRef& channel, int paused);
    StreamFeed* BeginPlay();
    void EndPlay();

    TSoundSourceRef source_;
    const bool loop_;
    StreamFeed* feed_ = nullptr;  // the latest play's; the feeder keeps it until both sides let go
    bool read_ = false;           // the source has been read from, so a new play rewinds it
    bool closed_ = false;
    TStreamStatus last_;  // the latest play's figures when it ended
};

}  // namespace vesk
