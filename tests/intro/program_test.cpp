// The delivered intro started as a program, as a user starts it, where no
// display can be reached: it must stop with the runtime's failure and say
// why, never run on unseen. It prints those lines only: no complaints of a
// window system nobody named, nor of the sound library without a sound card.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace vesk {
namespace {

struct TRun {
    int status = -1;
    std::string errors;
};

// Runs the intro under `environment` (words for env(1)) with its standard
// error kept; a run that goes on is killed after a minute.
TRun RunIntroProgram(const std::string& environment) {
    const std::string line =
        "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u SDL_AUDIODRIVER -u XDG_RUNTIME_DIR " + environment +
        " timeout -s KILL 60 '" VESK_INTRO "' 2>&1 >/dev/null";
    TRun run;
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.errors.append(buffer, got);
    const int raw = pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

class IntroProgram : public ::testing::Test {
protected:
    void SetUp() override {
        if (std::filesystem::exists("/dev/dri"))
            GTEST_SKIP() << "this machine has a graphics device, on which the intro may open a real screen";
    }
};

TEST_F(IntroProgram, WithNoDisplayNamedItStopsAndSaysSo) {
    const TRun run = RunIntroProgram("");
    EXPECT_EQ(run.status, 255) << run.errors;
    EXPECT_EQ(run.errors, "Unable to set graphics mode\nno display: set DISPLAY or WAYLAND_DISPLAY\n");
}

// A display that is named but does not answer leaves SDL with only drivers
// that show nothing.
TEST_F(IntroProgram, WithADisplayThatDoesNotAnswerItStopsAndSaysWhich) {
    const TRun run = RunIntroProgram("DISPLAY=:7391");
    EXPECT_EQ(run.status, 255) << run.errors;
    EXPECT_EQ(run.errors, "Unable to set graphics mode\nno display could be reached at :7391: only the offscreen "
                          "video driver, which shows nothing, was left (set SDL_VIDEODRIVER=offscreen to run unseen)\n");
}

}  // namespace
}  // namespace vesk
