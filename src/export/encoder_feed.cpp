#include "export/encoder_feed.h"

#include "export/ffmpeg_process.h"

#include <unistd.h>

namespace vesk {
namespace {

bool WriteFrame(int fd, const TPixmap& frame) {
    const size_t rowBytes = static_cast<size_t>(frame.width) * 4;
    if (static_cast<size_t>(frame.pitch) == rowBytes) return WriteAll(fd, frame.pixels, rowBytes * frame.height);
    for (int y = 0; y < frame.height; ++y) {
        if (!WriteAll(fd, frame.PixelAddress(0, y), rowBytes)) return false;
    }
    return true;
}

}  // namespace

TEncoderFeed::TEncoderFeed(int videoPipe, int audioPipe, TByteSpan sound, size_t queuedFrames)
    : videoPipe_(videoPipe), audioPipe_(audioPipe), capacity_(queuedFrames) {
    frameWriter_ = std::thread([this] { WriteFrames(); });
    soundWriter_ = std::thread([this, sound] { WriteSound(sound); });
}

TEncoderFeed::~TEncoderFeed() { Finish(); }

void TEncoderFeed::PushFrame(TPixmapRef frame) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return frames_.size() < capacity_; });
    frames_.push_back(std::move(frame));
    changed_.notify_all();
}

TPixmapRef TEncoderFeed::PopFrame() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !frames_.empty() || closed_; });
    if (frames_.empty()) return nullptr;
    TPixmapRef frame = std::move(frames_.front());
    frames_.pop_front();
    changed_.notify_all();
    return frame;
}

// After a failed write the queue is still emptied, so that the show's thread
// never waits on a writer that has given up.
void TEncoderFeed::WriteFrames() {
    while (TPixmapRef frame = PopFrame()) {
        if (!failed_.load() && !WriteFrame(videoPipe_, *frame)) failed_.store(true);
    }
    close(videoPipe_);
}

void TEncoderFeed::WriteSound(TByteSpan sound) {
    if (!WriteAll(audioPipe_, sound.data, sound.size)) failed_.store(true);
    close(audioPipe_);
}

void TEncoderFeed::Finish() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        changed_.notify_all();
    }
    if (frameWriter_.joinable()) frameWriter_.join();
    if (soundWriter_.joinable()) soundWriter_.join();
}

}  // namespace vesk
