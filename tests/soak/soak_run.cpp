#include "soak_run.h"

#include "intro/intro.h"
#include "support/scripted_platform.h"

#include <GL/gl.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace vesk::soak {
namespace {

constexpr std::uint32_t kFrameMs = 20;  // 50 frames per second
constexpr int kSampleEvery = 50;
// A spiral point starts at depth 400 and falls 3 a frame until it passes 1,
// so it lives at most 134 frames; five are launched a frame.
constexpr int kMaxSpiralPoints = 5 * 134;
constexpr int kMaxStars = TEffectSpawner::kMaxStars;

// A sanitizer's allocator holds freed blocks back for a while and keeps its
// own books, so memory is only judged in plain builds.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kMemoryJudged = false;
#else
constexpr bool kMemoryJudged = true;
#endif

double Mb(std::int64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

std::int64_t HeapInUse() {
    struct mallinfo2 info = mallinfo2();
    return static_cast<std::int64_t>(info.uordblks + info.hblkhd);
}

std::int64_t Resident() {
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

std::int32_t IndexOf(const Text& text, char16_t letter) {
    return static_cast<std::int32_t>(text.find(letter));
}

class TSoakWatch {
public:
    explicit TSoakWatch(const TSoakOptions& options) : options_(options) {}

    // Runs before each frame; false once the run is over.
    bool BeforeFrame(test::TScriptedPlatformDriver& platform) {
        const int framesDone = static_cast<int>(IntroFrameCount());
        if (framesDone >= options_.frames || !report_.failure.empty()) return false;
        platform.clock += kFrameMs;
        // A display takes a frame only once it is drawn. On the offscreen
        // driver nothing waits, and the software GL's queue of frames not yet
        // rasterised (hundreds of megabytes with the effects on) grows and
        // shrinks with how the machine keeps up. Finishing each frame keeps
        // that queue out of the figures, so a quiet machine and a loaded one
        // give the same verdict on the engine's memory.
        glFinish();
        if (options_.steer) Steer(platform, framesDone);
        Watch(framesDone);
        return true;
    }

    TSoakReport Finish(double seconds) {
        report_.frames = static_cast<int>(IntroFrameCount());
        report_.seconds = seconds;
        report_.lastElapsedMs = IntroClock().elapsedMs;
        if (report_.failure.empty() && report_.frames != options_.frames) report_.failure = "the loop stopped early";
        report_.memoryJudged = kMemoryJudged && options_.frames > options_.warmupFrames;
        if (report_.failure.empty() && report_.memoryJudged) CheckGrowth();
        return report_;
    }

private:
    // Brings a short run through what a long one meets on its own: both
    // effect levels, the countdown far below zero and a scroller wrap.
    void Steer(test::TScriptedPlatformDriver& platform, int framesDone) {
        TScroller& scroller = IntroShow().scroller;
        const int warmup = options_.warmupFrames;
        if (framesDone == 1) JumpBefore(scroller, IndexOf(scroller.scrollText, u'z'));
        if (framesDone == warmup / 4) JumpBefore(scroller, IndexOf(scroller.scrollText, u'y'));
        if (framesDone == warmup / 2) platform.clock += 10 * 60 * 1000;
        if (framesDone == warmup * 3 / 4) scroller.scrollPos = scroller.scrollLength - kScrollWindow - 1;
    }

    // The letter enters the window with the scroller's next step.
    static void JumpBefore(TScroller& scroller, std::int32_t index) {
        scroller.scrollPos = std::max(0, index - kScrollWindow);
    }

    void Watch(int framesDone) {
        const TIntroShow& show = IntroShow();
        int stars = 0, spirals = 0;
        for (const TEffectPointRef& point : show.effects.Points()) {
            if (point->state == EFFECT_STAR) ++stars;
            if (point->state == EFFECT_SPIRAL) ++spirals;
        }
        report_.maxStars = std::max(report_.maxStars, stars);
        report_.maxSpiralPoints = std::max(report_.maxSpiralPoints, spirals);
        report_.maxEffectLevel = std::max(report_.maxEffectLevel, show.scroller.effectLevel);
        if (stars > kMaxStars || spirals > kMaxSpiralPoints ||
            show.effects.Count() != static_cast<std::size_t>(stars + spirals)) {
            Fail(framesDone, "the effect list left its bounds");
        }
        if (show.scroller.scrollPos < lastScrollPos_) ++report_.scrollerWraps;
        lastScrollPos_ = show.scroller.scrollPos;
        if (framesDone % kSampleEvery == 0) Sample(framesDone);
    }

    void Sample(int framesDone) {
        const std::int64_t heap = HeapInUse(), resident = Resident();
        if (std::getenv("VESK_SOAK_TRACE")) {
            std::printf("frame %d heap %.2f MB resident %.1f MB effects %zu\n", framesDone, Mb(heap), Mb(resident),
                        IntroShow().effects.Count());
        }
        report_.residentPeak = std::max(report_.residentPeak, resident);
        if (framesDone == options_.warmupFrames) {
            report_.heapAtWarmup = heap;
            report_.residentAtWarmup = resident;
        } else if (framesDone > options_.warmupFrames) {
            report_.heapPeakAfter = std::max(report_.heapPeakAfter, heap);
            report_.residentPeakAfter = std::max(report_.residentPeakAfter, resident);
        }
    }

    void CheckGrowth() {
        if (report_.heapPeakAfter > report_.heapAtWarmup + options_.heapSlack) {
            report_.failure = "the heap kept growing after the warm-up";
        } else if (report_.residentPeakAfter > report_.residentAtWarmup + options_.residentSlack) {
            report_.failure = "resident memory kept growing after the warm-up";
        }
    }

    void Fail(int framesDone, const char* what) {
        if (!report_.failure.empty()) return;
        report_.failure = std::string(what) + " before frame " + std::to_string(framesDone + 1);
    }

    TSoakOptions options_;
    TSoakReport report_;
    std::int32_t lastScrollPos_ = 0;
};

}  // namespace

TSoakReport RunSoak(const TSoakOptions& options) {
    auto platform = test::InstallScriptedPlatform();
    platform->sleepAdvancesClock = false;
    TSoakWatch watch(options);
    const auto start = std::chrono::steady_clock::now();
    if (StartIntro()) {
        while (watch.BeforeFrame(*platform)) RunIntroFrame();
    }
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    return watch.Finish(seconds.count());
}

std::string Describe(const TSoakReport& report) {
    std::ostringstream out;
    char line[160];
    std::snprintf(line, sizeof line, "frames %d in %.1f s of wall time (%.0f frames/s); show time %.1f s\n",
                  report.frames, report.seconds, report.frames / std::max(report.seconds, 1e-9),
                  static_cast<double>(report.lastElapsedMs) / 1000.0);
    out << line;
    std::snprintf(line, sizeof line, "heap in use: %.2f MB after the warm-up, peak %.2f MB after it\n",
                  Mb(report.heapAtWarmup), Mb(report.heapPeakAfter));
    out << line;
    std::snprintf(line, sizeof line, "resident: %.1f MB after the warm-up, peak %.1f MB after it, %.1f MB overall\n",
                  Mb(report.residentAtWarmup), Mb(report.residentPeakAfter), Mb(report.residentPeak));
    out << line;
    std::snprintf(line, sizeof line,
                  "effects: up to %d stars and %d spiral points, level %d; scroller wraps: %d\n", report.maxStars,
                  report.maxSpiralPoints, report.maxEffectLevel, report.scrollerWraps);
    out << line;
    if (!report.memoryJudged) out << "memory growth not judged (sanitizer build or no frames after the warm-up)\n";
    out << (report.failure.empty() ? std::string("passed") : "FAILED: " + report.failure) << "\n";
    return out.str();
}

}  // namespace vesk::soak
