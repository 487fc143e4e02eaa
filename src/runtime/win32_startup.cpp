// Start-up on Windows. A structured exception that nothing handles (an
// access violation, a stack overflow, an in-page error and the like) ends
// the program as the failure "Unhandled Memory Exception Error". A console
// control event (Ctrl+C, Ctrl+Break, the console closing, log-off,
// shut-down) and the C library's fatal signals (abort, and the traps it
// raises as signals) end it as "Received Signal". Either way the process
// ends at once with status -1, as a fatal POSIX signal ends it, after the
// signal undos have run.
#include <vesk/runtime/startup.h>

#include <vesk/runtime/failure.h>
#include "runtime/platform_startup.h"

#include <csignal>
#include <cstring>
#include <string>

#include <windows.h>

namespace vesk {
namespace {

// How long a deferred ending may wait for the next event pump.
constexpr DWORD kDeferredEndingMs = 3000;
// Room kept on the main thread's stack for the ending after a stack overflow.
constexpr ULONG kStackKeptForEnding = 64 * 1024;
constexpr UINT kFailureStatus = static_cast<UINT>(-1);
// How long the undos may take before the process ends without them.
constexpr DWORD kUndoMs = 2000;

volatile LONG endingDeferred = 0;
volatile LONG pendingSignal = 0;

void WriteToStandardError(const char* text) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (!error || error == INVALID_HANDLE_VALUE) return;  // a program without a console has nowhere to say it
    DWORD written = 0;
    WriteFile(error, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

DWORD WINAPI EndWhenUndosTakeTooLong(LPVOID) {
    Sleep(kUndoMs);
    TerminateProcess(GetCurrentProcess(), kFailureStatus);
    return 0;
}

// Each undo runs once: one that faults comes back here through the
// exception filter and finds its slot empty, and one that meets a lock the
// fault left held is cut short by the watchdog thread.
void RunSignalUndos() {
    HANDLE watchdog = CreateThread(nullptr, 0, EndWhenUndosTakeTooLong, nullptr, 0, nullptr);
    RunEachSignalUndoOnce();
    if (watchdog) CloseHandle(watchdog);
}

// Apart from the undos, only calls that are safe from any thread of a
// damaged process: the text goes straight to the handle, and the process
// ends without running exit handlers or notifying libraries, which may be
// what faulted.
[[noreturn]] void EndAtOnce(const char* text) {
    WriteToStandardError(text);
    RunSignalUndos();
    TerminateProcess(GetCurrentProcess(), kFailureStatus);
    ExitProcess(kFailureStatus);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS*) { EndAtOnce(kMemoryFaultMessage); }

// Runs on a thread the system starts for the event. While the ending is
// deferred, the first event is left to the main thread's next event pump,
// which ends the process through the exit handlers; this thread waits for
// that and ends the process itself when it does not come in time.
BOOL WINAPI OnConsoleControl(DWORD) {
    if (endingDeferred && InterlockedCompareExchange(&pendingSignal, 1, 0) == 0) Sleep(kDeferredEndingMs);
    EndAtOnce(kSignalMessage);
}

extern "C" void OnFatalSignal(int signalNumber) {
    EndAtOnce(signalNumber == SIGSEGV ? kMemoryFaultMessage : kSignalMessage);
}

}  // namespace

void InstallSignalHandlers() {
    SetUnhandledExceptionFilter(OnUnhandledException);
    // The system's own report of a fault would wait for a click.
    SetErrorMode(GetErrorMode() | SEM_NOGPFAULTERRORBOX);
    ULONG kept = kStackKeptForEnding;
    SetThreadStackGuarantee(&kept);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    for (int signalNumber : {SIGABRT, SIGFPE, SIGILL, SIGSEGV, SIGTERM}) std::signal(signalNumber, OnFatalSignal);
}

void SetSignalEndingDeferred(bool deferred) { InterlockedExchange(&endingDeferred, deferred ? 1 : 0); }

void EndIfSignalled() {
    if (pendingSignal) ExitWithFailure(kSignalMessage);
}

std::string FindExecutableDirectory() {
    std::wstring path(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0 || length >= path.size()) return {};
    path.resize(length);
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) return {};
    path.resize(separator + 1);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0,
                                          nullptr, nullptr);
    std::string folder(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), folder.data(), bytes, nullptr, nullptr);
    return folder;
}

}  // namespace vesk
