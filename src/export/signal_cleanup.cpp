#include "export/signal_cleanup.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <unistd.h>

namespace vesk {
namespace {

constexpr std::array<int, 9> kFatalSignals = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT,
                                              SIGINT,  SIGTERM, SIGHUP, SIGQUIT};

// Read by the handler, which may only touch lock-free atomics and plain
// memory: the path lives in a fixed buffer that is never reallocated.
char cleanupPath[4096];
std::atomic<bool> pathSet{false};
std::atomic<pid_t> cleanupProcess{0};
struct sigaction previous[NSIG];

extern "C" void CleanUpAndPassOn(int signalNumber) {
    if (pathSet.load()) unlink(cleanupPath);
    const pid_t child = cleanupProcess.load();
    if (child > 0) kill(child, SIGKILL);
    const struct sigaction& before = previous[signalNumber];
    if (before.sa_handler != SIG_DFL && before.sa_handler != SIG_IGN) {
        before.sa_handler(signalNumber);
        return;
    }
    signal(signalNumber, SIG_DFL);
    raise(signalNumber);
}

}  // namespace

void InstallSignalCleanup() {
    static bool installed = false;
    if (installed) return;
    installed = true;
    struct sigaction action {};
    action.sa_handler = CleanUpAndPassOn;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    for (int signalNumber : kFatalSignals) sigaction(signalNumber, &action, &previous[signalNumber]);
}

void SetCleanupFile(const std::string& path) {
    pathSet.store(false);
    if (path.empty() || path.size() >= sizeof cleanupPath) return;
    std::memcpy(cleanupPath, path.c_str(), path.size() + 1);
    pathSet.store(true);
}

void SetCleanupProcess(pid_t pid) { cleanupProcess.store(pid); }

}  // namespace vesk
