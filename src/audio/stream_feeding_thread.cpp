// The engine's feeding on the desktop: a thread of its own that tops up
// every stream's ring and then sleeps a little. It sleeps only while every
// ring is full or waiting on its mixer, so a ring drained faster than usual
// (a device that runs ahead) is refilled at once.
#include "audio/stream_feeder.h"

#include <chrono>
#include <condition_variable>
#include <thread>

#ifdef __linux__
#include <pthread.h>
#endif

namespace vesk {
namespace {

constexpr std::chrono::milliseconds kNap{10};

struct FeedingThread {
    std::mutex lock;  // guards stop and the thread's start and end
    std::condition_variable wake;
    bool stop = false;
    std::thread thread;
};

FeedingThread& Feeding() {
    static FeedingThread& feeding = *new FeedingThread;
    return feeding;
}

void Run(FeedingThread& feeding) {
#ifdef __linux__
    // Named, so that its share of the process's time can be told apart. On
    // Windows it stays unnamed: the naming call is newer than the Windows 7
    // the build asks its headers for.
    pthread_setname_np(pthread_self(), "vesk-feed");
#endif
    for (;;) {
        bool room;
        {
            std::lock_guard<std::mutex> lock(FeedLock());
            room = FeedAllOnce();
        }
        std::unique_lock<std::mutex> lock(feeding.lock);
        if (feeding.stop) return;
        if (!room) feeding.wake.wait_for(lock, kNap, [&] { return feeding.stop; });
        if (feeding.stop) return;
    }
}

}  // namespace

void StartBackgroundFeeding() {
    FeedingThread& feeding = Feeding();
    std::lock_guard<std::mutex> lock(feeding.lock);
    if (feeding.thread.joinable()) return;
    feeding.stop = false;
    feeding.thread = std::thread(Run, std::ref(feeding));
}

void StopBackgroundFeeding() {
    FeedingThread& feeding = Feeding();
    std::thread thread;
    {
        std::lock_guard<std::mutex> lock(feeding.lock);
        feeding.stop = true;
        thread = std::move(feeding.thread);
    }
    feeding.wake.notify_all();
    if (thread.joinable()) thread.join();
}

}  // namespace vesk
