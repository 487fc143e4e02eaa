// Whole runs of the intro on the real platform (SDL, the real clock, frame
// pacing), for scripts/bench. Built twice: intro_run_bench runs the show as
// delivered, intro_record_bench the recording build, which writes every frame
// as a PNG file into record/ below the current folder (each file is removed
// again once the next frame is under way, so a long run needs little disk).
//
//   intro_run_bench [FRAMES]      prints "key value" lines:
//     first_frame_ms  from entering main to the first presented frame
//     frames, seconds, fps        the frame loop in wall time
//     peak_rss_mb                 the process's peak resident memory
//     steady_rss_mb               the largest resident size after frame 1000
//     peak_cpu_percent            the process's CPU time (all threads) from
//                                 frame 1000 to the end, per wall time
//     peak_draws_per_frame        the most GL draw calls the driver made in
//                                 one frame from frame 1000 on
//
// The scroller is steered to its effect letters at once, so stars and spiral
// points (the peak load) are on screen after the first few seconds.
#include "graphics/gl_driver.h"
#include "intro/intro.h"
#include "intro/recording.h"
#include <vesk/system/platform.h>

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace vesk {
namespace {

using TClock = std::chrono::steady_clock;

constexpr int kSteadyFrom = 1000;

double ResidentMb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// User and system time of every thread so far.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& time) { return static_cast<double>(time.tv_sec) + time.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double PeakResidentMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Frames are named with a backslash, which file opening turns into a slash.
void RemoveRecordedFrame(int32_t frameNumber) {
    std::string name = TextToUtf8(RecordFileName(frameNumber));
    std::replace(name.begin(), name.end(), '\\', '/');
    std::filesystem::remove(name);
}

// Watches the run before each frame: the first presented frame, the
// scroller steered to its effects, CPU and memory from the steady frame on,
// and the end after the frames asked for.
class TRunWatch {
public:
    TRunWatch(TClock::time_point start, int frames) : start_(start), frames_(frames) {}

    // False when the frames asked for have run.
    bool BeforeFrame() {
        const auto done = static_cast<int>(IntroFrameCount());
        if (done == 1 && firstFrameMs_ < 0) {
            firstFrameMs_ = Milliseconds(start_);
            loopStart_ = TClock::now();
        }
        if (done == 1) Steer(u'z');
        if (done == 100) Steer(u'y');
        if (done == kSteadyFrom && peakStartCpu_ < 0) {
            peakStartCpu_ = CpuSeconds();
            peakStart_ = TClock::now();
        }
        if (done >= kSteadyFrom) steadyMb_ = std::max(steadyMb_, ResidentMb());
        CountDraws(done);
        if constexpr (recordFrames) {
            if (done >= 2) RemoveRecordedFrame(done - 2);
        }
        return done < frames_;
    }

    void Report() const {
        const double seconds = Milliseconds(loopStart_) / 1000.0;
        const int frames = static_cast<int>(IntroFrameCount()) - 1;  // timed from the first presented one
        std::printf("first_frame_ms %.0f\n", firstFrameMs_);
        std::printf("frames %d\nseconds %.2f\nfps %.1f\n", frames, seconds, frames / std::max(seconds, 1e-9));
        std::printf("peak_rss_mb %.1f\n", PeakResidentMb());
        std::printf("steady_rss_mb %.1f\n", steadyMb_);
        if (peakStartCpu_ >= 0) {
            const double wall = Milliseconds(peakStart_) / 1000.0;
            std::printf("peak_cpu_percent %.1f\n", 100.0 * (CpuSeconds() - peakStartCpu_) / std::max(wall, 1e-9));
        }
        std::printf("peak_draws_per_frame %llu\n", static_cast<unsigned long long>(peakDraws_));
    }

private:
    // The draws since the last call are those of the frame just presented.
    void CountDraws(int done) {
        const uint64_t draws = GLDriver().DrawCallCount();
        if (done > kSteadyFrom) peakDraws_ = std::max(peakDraws_, draws - lastDraws_);
        lastDraws_ = draws;
    }

    static double Milliseconds(TClock::time_point since) {
        return std::chrono::duration<double, std::milli>(TClock::now() - since).count();
    }

    // Moves the scroller so that the letter enters the window with its next
    // step.
    static void Steer(char16_t letter) {
        TScroller& scroller = IntroShow().scroller;
        const auto at = static_cast<int32_t>(scroller.scrollText.find(letter));
        if (at > kScrollWindow) scroller.scrollPos = at - kScrollWindow;
    }

    TClock::time_point start_;
    TClock::time_point loopStart_;
    TClock::time_point peakStart_;
    double peakStartCpu_ = -1;
    int frames_;
    double firstFrameMs_ = -1;
    double steadyMb_ = 0;
    uint64_t lastDraws_ = 0;
    uint64_t peakDraws_ = 0;
};

}  // namespace
}  // namespace vesk

int main(int argc, char** argv) {
    const auto start = vesk::TClock::now();
    const int frames = argc > 1 ? std::atoi(argv[1]) : 1500;
    if constexpr (vesk::recordFrames) std::filesystem::create_directories("record");
    vesk::TRunWatch watch(start, frames);
    // The delivered loop: asking for Escape pumps the window's messages
    // before every frame, then the show's own steps.
    if (vesk::StartIntro()) {
        while (vesk::TakeKeyHits(vesk::VK_ESCAPE) == 0 && watch.BeforeFrame()) vesk::RunIntroFrame();
        vesk::EndIntro();
    }
    watch.Report();
    return 0;
}
