#include <vesk/runtime/startup.h>

#include <vesk/runtime/failure.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <unistd.h>

namespace vesk {
namespace {

std::string executableDirectory;

// How long a deferred ending may wait for the next event pump.
constexpr unsigned kDeferredEndingSeconds = 3;

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

// A signal handler cannot unwind C++ frames safely, so it does what an
// uncaught failure would do with only async-signal-safe calls: write the
// text and leave with status -1. A termination request while the ending is
// deferred is only recorded (and a fallback alarm armed); every call made
// here is async-signal-safe.
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
    _exit(255);
}

void RecordExecutableDirectory() {
    char path[4096];
    ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0) return;
    std::string full(path, static_cast<size_t>(length));
    size_t slash = full.rfind('/');
    if (slash != std::string::npos) executableDirectory = full.substr(0, slash + 1);
}

}  // namespace

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

void ExitWithFailure(const std::string& message, const std::string& reason) {
    std::fwrite(message.data(), 1, message.size(), stderr);
    if (!reason.empty()) std::fprintf(stderr, "\n%s\n", reason.c_str());
    std::fflush(stderr);
    std::exit(-1);
}

int RunProgram(int (*body)()) { return RunProgram(std::function<int()>(body)); }

int RunProgram(const std::function<int()>& body) {
    InitRuntimeModule();
    try {
        return body();
    } catch (const TFailure& failure) {
        ExitWithFailure(failure.Message(), failure.Reason());
    } catch (const std::exception& failure) {
        // Library failures (out of memory and the like) end the program the
        // same way as the engine's own.
        ExitWithFailure(failure.what());
    }
}

const std::string& ExecutableDirectory() { return executableDirectory; }

void InitRuntimeModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    RecordExecutableDirectory();
    InstallSignalHandlers();
}

}  // namespace vesk
