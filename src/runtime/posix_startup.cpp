// Start-up on POSIX systems: fatal signals become the runtime's failures,
// and the executable's folder comes from /proc.
#include <vesk/runtime/startup.h>

#include <vesk/runtime/failure.h>
#include "runtime/platform_startup.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <unistd.h>

namespace vesk {
namespace {

// How long a deferred ending may wait for the next event pump.
constexpr unsigned kDeferredEndingSeconds = 3;

// How long the undo of a fatal signal may take before the process ends
// without it.
constexpr unsigned kUndoSeconds = 2;

volatile sig_atomic_t endingDeferred = 0;
volatile sig_atomic_t pendingSignal = 0;

bool IsTerminationRequest(int signalNumber) {
    return signalNumber == SIGINT || signalNumber == SIGTERM || signalNumber == SIGHUP || signalNumber == SIGQUIT;
}

extern "C" void FatalSignalHandler(int signalNumber);

void SetHandler(int signalNumber) {
    struct sigaction action {};
    action.sa_handler = FatalSignalHandler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;
    sigaction(signalNumber, &action, nullptr);
}

extern "C" void LeaveAtOnce(int) { _exit(255); }

// Runs each undo once. They are not async-signal-safe and may meet a lock
// that the fault left held, or fault themselves: a second fault or the alarm
// then ends the process without them.
void RunSignalUndos() {
    struct sigaction action {};
    action.sa_handler = LeaveAtOnce;
    sigemptyset(&action.sa_mask);
    sigset_t faults;
    sigemptyset(&faults);
    for (int signalNumber : {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGALRM}) {
        sigaction(signalNumber, &action, nullptr);
        sigaddset(&faults, signalNumber);
    }
    // The signal being handled is blocked; a fault of the same kind while
    // blocked would kill the process outright.
    sigprocmask(SIG_UNBLOCK, &faults, nullptr);
    alarm(kUndoSeconds);
    RunEachSignalUndoOnce();
    alarm(0);
}

// A signal handler cannot unwind C++ frames safely, so it does what an
// uncaught failure would do with only async-signal-safe calls: write the
// text and leave with status -1. A termination request while the ending is
// deferred is only recorded (and a fallback alarm armed). Apart from the
// undos, which run after the text is out, every call made here is
// async-signal-safe.
extern "C" void FatalSignalHandler(int signalNumber) {
    if (endingDeferred && !pendingSignal && IsTerminationRequest(signalNumber)) {
        pendingSignal = signalNumber;
        SetHandler(signalNumber);
        SetHandler(SIGALRM);
        alarm(kDeferredEndingSeconds);
        return;
    }
    const bool memoryFault = signalNumber == SIGSEGV || signalNumber == SIGBUS;
    const char* text = memoryFault ? kMemoryFaultMessage : kSignalMessage;
    ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
    RunSignalUndos();
    _exit(255);
}

}  // namespace

std::string FindExecutableDirectory() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) return {};
    std::string full(path, static_cast<size_t>(length));
    size_t slash = full.rfind('/');
    return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

void InstallSignalHandlers() {
    static const int fatalSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT, SIGINT, SIGTERM, SIGHUP, SIGQUIT};
    for (int signalNumber : fatalSignals) SetHandler(signalNumber);
}

void SetSignalEndingDeferred(bool deferred) { endingDeferred = deferred ? 1 : 0; }

void EndIfSignalled() {
    if (!pendingSignal) return;
    alarm(0);
    ExitWithFailure(kSignalMessage);
}

}  // namespace vesk
