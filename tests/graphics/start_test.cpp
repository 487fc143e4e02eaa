// Starting a GL program on an X display that only the programs under test
// use, as a user's own display may be: such a server resets whenever its
// last client leaves, or ends then, and a start must get its window all the
// same. Each start is a program of its own (the start probe), run as a user
// runs it: no video driver named, so SDL picks the display.
#include <gtest/gtest.h>

// The X headers define None, Bool and the like: they come after the test framework.
#include "support/xvfb_server.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace vesk {
namespace {

constexpr int kOpenTimeoutMs = 60000;

// One run of the start probe with standard output and error in one pipe.
class TProbeRun {
public:
    // `audio` names SDL's audio driver; empty leaves the choice to SDL.
    TProbeRun(const std::string& display, int frames, const std::string& audio,
              const std::vector<std::string>& extraEnvironment = {}) {
        std::vector<std::string> environment{"DISPLAY=" + display};
        if (!audio.empty()) environment.push_back("SDL_AUDIODRIVER=" + audio);
        environment.insert(environment.end(), extraEnvironment.begin(), extraEnvironment.end());
        for (char** entry = environ; *entry; ++entry) {
            const std::string name(*entry, std::strcspn(*entry, "="));
            if (name != "DISPLAY" && name != "WAYLAND_DISPLAY" && name != "SDL_VIDEODRIVER" &&
                name != "SDL_AUDIODRIVER")
                environment.push_back(*entry);
        }
        Spawn({VESK_START_PROBE, std::to_string(frames)}, environment);
    }
    ~TProbeRun() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Finish();
        }
        if (output_ >= 0) close(output_);
    }
    TProbeRun(const TProbeRun&) = delete;
    TProbeRun& operator=(const TProbeRun&) = delete;

    // Reads until the probe says its first frame is up, or its output ends.
    bool WaitUntilOpened() {
        while (text_.find("opened\n") == std::string::npos)
            if (!ReadSome(kOpenTimeoutMs)) return false;
        return true;
    }
    void Kill() { kill(pid_, SIGKILL); }
    // Reads to the end and reaps the probe; returns its wait status.
    int Finish() {
        while (ReadSome(kOpenTimeoutMs)) {
        }
        int status = -1;
        if (pid_ > 0) waitpid(pid_, &status, 0);
        pid_ = 0;
        return status;
    }
    const std::string& Output() const { return text_; }

private:
    void Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment) {
        int fds[2];
        if (pipe(fds) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDERR_FILENO);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        std::vector<char*> argv, envp;
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        for (const std::string& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
        argv.push_back(nullptr);
        envp.push_back(nullptr);
        if (posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid_ = 0;
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);
        output_ = fds[0];
    }
    bool ReadSome(int timeoutMs) {
        pollfd waiting{output_, POLLIN, 0};
        if (output_ < 0 || poll(&waiting, 1, timeoutMs) != 1) return false;
        char buffer[512];
        const ssize_t got = read(output_, buffer, sizeof buffer);
        if (got <= 0) return false;
        text_.append(buffer, static_cast<size_t>(got));
        return true;
    }

    pid_t pid_ = 0;
    int output_ = -1;
    std::string text_;
};

bool EndedNormally(int status) { return WIFEXITED(status) && WEXITSTATUS(status) == 0; }

std::string Describe(int status) {
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
    return "no status";
}

// Every fourth program is killed once its window is up, and the next one
// is started while the server, held still for a moment, has yet to see the
// killed one go: it then resets just as the new program connects. The
// programs find no sound driver, the quickest way through the start-up;
// they run silently.
TEST(StartOnX, BackToBackStartsAllGetTheirWindowKillsIncluded) {
    test::TXvfbServer server;
    std::string whyNot;
    if (!server.Launch(whyNot)) GTEST_SKIP() << "no X server for this test: " << whyNot;
    constexpr int kStarts = 100;
    int failures = 0;
    std::string firstFailure;
    bool holdServer = false;
    for (int start = 0; start < kStarts; ++start) {
        const bool killed = start % 4 == 3;
        TProbeRun run(server.Name(), killed ? 0 : 2, "nonesuch");
        if (holdServer) {
            usleep(150 * 1000);  // time for the probe to reach the display
            kill(server.Pid(), SIGCONT);
            holdServer = false;
        }
        bool ok = run.WaitUntilOpened();
        if (killed) {
            if (ok) kill(server.Pid(), SIGSTOP);
            holdServer = ok;
            run.Kill();
        }
        const int status = run.Finish();
        ok = ok && (killed || EndedNormally(status));
        if (!ok && failures++ == 0)
            firstFailure = "start " + std::to_string(start) + ": " + Describe(status) + "\n" + run.Output();
    }
    if (holdServer) kill(server.Pid(), SIGCONT);
    EXPECT_EQ(failures, 0) << firstFailure;
}

// A sound driver that cannot start leaves the program silent, never without
// its window; the display here ends when its last client leaves, so a start
// that lets go of it once has nothing left to open its window on.
TEST(StartOnX, AMissingSoundDriverLeavesTheProgramSilentWithItsWindow) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> drivers = {
        {"nonesuch", {}},
        {"pulseaudio", {"PULSE_SERVER=unix:/nonexistent/pulse/native"}},
    };
    for (const auto& [driver, environment] : drivers) {
        test::TXvfbServer display;
        std::string whyNot;
        if (!display.Launch(whyNot, true)) GTEST_SKIP() << "no X server for this test: " << whyNot;
        TProbeRun run(display.Name(), 2, driver, environment);
        const int status = run.Finish();
        EXPECT_TRUE(EndedNormally(status)) << driver << ": " << Describe(status) << "\n" << run.Output();
        EXPECT_EQ(run.Output(), "opened\n") << driver;
    }
}

}  // namespace
}  // namespace vesk
