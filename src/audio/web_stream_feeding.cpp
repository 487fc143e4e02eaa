// The engine's feeding in a browser, which gives a page one thread: a timer
// that tops up every stream's ring between the page's frames and audio
// callbacks. Browsers keep a page's timers running while it plays sound.
#include "audio/stream_feeder.h"

#include <emscripten/eventloop.h>

namespace vesk {
namespace {

constexpr double kIntervalMs = 20;

long timer = 0;

void Feed(void*) {
    std::lock_guard<std::mutex> lock(FeedLock());
    FeedAllOnce();
}

}  // namespace

void StartBackgroundFeeding() {
    if (timer == 0) timer = emscripten_set_interval(Feed, kIntervalMs, nullptr);
}

void StopBackgroundFeeding() {
    if (timer != 0) emscripten_clear_interval(timer);
    timer = 0;
}

}  // namespace vesk
