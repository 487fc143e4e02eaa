#include "show_tap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#endif
#include <GL/gl.h>

namespace vesk::tap {
namespace {

constexpr std::uint32_t kClockStart = 100000;
constexpr std::uint32_t kMsPerSwap = 20;

struct TSettings {
    std::string folder;
    bool fixedClock = true;
    std::set<std::uint64_t> frames;
    std::uint64_t end = 0;  // 0: no end by swap count
    std::uint64_t show = 62;
    double seconds = 0;  // 0: no end by time
};

const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return value && *value ? value : nullptr;
}

std::uint64_t Number(const char* name, std::uint64_t fallback) {
    const char* value = Variable(name);
    return value ? std::strtoull(value, nullptr, 10) : fallback;
}

TSettings ReadSettings() {
    TSettings settings;
    if (const char* folder = Variable("VESK_TAP_DIR")) settings.folder = folder;
    if (const char* clock = Variable("VESK_TAP_CLOCK")) settings.fixedClock = std::strcmp(clock, "real") != 0;
    std::istringstream frames(Variable("VESK_TAP_FRAMES") ? Variable("VESK_TAP_FRAMES") : "");
    for (std::string number; std::getline(frames, number, ',');)
        if (!number.empty()) settings.frames.insert(std::strtoull(number.c_str(), nullptr, 10));
    settings.end = Number("VESK_TAP_END", 0);
    settings.show = Number("VESK_TAP_SHOW", 62);
    if (const char* seconds = Variable("VESK_TAP_SECONDS")) settings.seconds = std::atof(seconds);
    return settings;
}

const TSettings& Settings() {
    static const TSettings settings = ReadSettings();
    return settings;
}

struct TRun {
    std::uint64_t swaps = 0;
    bool endAsked = false;
    // From the show's first frame on.
    std::uint64_t showStartWallMs = 0;
    double showStartProcessor = 0;
    std::uint64_t lastWallMs = 0;
    double lastProcessor = 0;
};

TRun run;

// The window's pixels, top row first, as RGB: the alpha a pixel format
// keeps (or not) is no part of the picture.
void KeepFrame(std::uint64_t number) {
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int width = viewport[2], height = viewport[3];
    GLint alignment = 0;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    std::vector<unsigned char> rgb(static_cast<size_t>(width) * height * 3);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    const std::string name = Settings().folder + "/frame-" + std::to_string(number) + ".ppm";
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) return;
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    for (int row = height - 1; row >= 0; --row)
        std::fwrite(&rgb[static_cast<size_t>(row) * width * 3], 1, static_cast<size_t>(width) * 3, file);
    std::fclose(file);
}

bool TimeIsUp() {
    const TSettings& settings = Settings();
    if (settings.seconds <= 0 || run.swaps <= settings.show) return false;
    return static_cast<double>(run.lastWallMs - run.showStartWallMs) >= settings.seconds * 1000;
}

}  // namespace

bool Active() { return !Settings().folder.empty(); }

std::uint32_t Clock() {
    if (!Settings().fixedClock) return ProgramClock();
    return kClockStart + static_cast<std::uint32_t>(run.swaps) * kMsPerSwap;
}

bool SkipSleeps() { return Settings().fixedClock; }

void BeforeSwap() {
    if (Settings().frames.count(run.swaps)) KeepFrame(run.swaps);
}

bool AfterSwap() {
    const TSettings& settings = Settings();
    ++run.swaps;
    run.lastWallMs = WallMs();
    run.lastProcessor = ProcessorSeconds();
    if (run.swaps == settings.show + 1) {
        run.showStartWallMs = run.lastWallMs;
        run.showStartProcessor = run.lastProcessor;
    }
    if (run.endAsked) return false;
    run.endAsked = (settings.end != 0 && run.swaps > settings.end) || TimeIsUp();
    if (run.endAsked) Report();
    return run.endAsked;
}

// Over the span from the show's first frame to the swap that ends the run.
void Report() {
    if (run.swaps <= Settings().show) return;
    std::FILE* file = std::fopen((Settings().folder + "/report.txt").c_str(), "w");
    if (!file) return;
    std::fprintf(file, "first_frame_wall_ms %llu\nframes_after_first %llu\nshow_seconds %.3f\nprocessor_seconds %.3f\n",
                 static_cast<unsigned long long>(run.showStartWallMs),
                 static_cast<unsigned long long>(run.swaps - Settings().show - 1),
                 static_cast<double>(run.lastWallMs - run.showStartWallMs) / 1000.0,
                 run.lastProcessor - run.showStartProcessor);
    std::fclose(file);
}

}  // namespace vesk::tap
