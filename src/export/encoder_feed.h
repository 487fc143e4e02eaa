// The two streams into ffmpeg, each written by a thread of its own so that
// the show renders on its thread while ffmpeg encodes: the frames, which the
// show's thread queues as it grabs them, and the music's bytes.
#pragma once

#include "export/music_pcm.h"
#include <vesk/pixmap/pixmap.h>

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>

namespace vesk {

class TEncoderFeed {
public:
    // Takes over both pipes; the sound is written at once, the frames as
    // they come. `sound` must outlive the feed.
    TEncoderFeed(int videoPipe, int audioPipe, TByteSpan sound, size_t queuedFrames = 8);
    // Finish, if not done yet.
    ~TEncoderFeed();
    TEncoderFeed(const TEncoderFeed&) = delete;
    TEncoderFeed& operator=(const TEncoderFeed&) = delete;

    // Queues a frame, waiting while the queue is full. Frames go as
    // FormatRGBA8888 rows, top row first.
    void PushFrame(TPixmapRef frame);
    // Whether a write found ffmpeg gone; later frames are dropped.
    bool Failed() const { return failed_.load(); }
    // Ends both streams: waits until the queued frames and the sound are
    // written (or refused), then closes the pipes.
    void Finish();

private:
    TPixmapRef PopFrame();
    void WriteFrames();
    void WriteSound(TByteSpan sound);

    int videoPipe_;
    int audioPipe_;
    size_t capacity_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<TPixmapRef> frames_;
    bool closed_ = false;
    std::atomic<bool> failed_{false};
    std::thread frameWriter_;
    std::thread soundWriter_;
};

}  // namespace vesk
