// Windows' ways for a program to fail at once: a structured exception that
// nothing handles, the C library's fatal signals and console control events
// each end it with the runtime's text and status -1, after the undos of what
// must outlive nothing (a switched display mode).
#include <vesk/runtime/failure.h>
#include <vesk/runtime/startup.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>

#include <windows.h>

namespace vesk {
namespace {

class Win32Ending : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

void SayCleaned() {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), "+cleaned", 8, &written, nullptr);
}

void NeverCalled() { SayCleaned(); }

int Fault() {
    AddSignalUndo(NeverCalled);
    AddSignalUndo(SayCleaned);
    AddSignalUndo(SayCleaned);
    RemoveSignalUndo(NeverCalled);
    volatile int* nowhere = nullptr;
    return *nowhere;
}

// An undo that meets a lock the fault left held must not keep the process
// from ending.
int HangInUndo() {
    AddSignalUndo([] { Sleep(INFINITE); });
    std::abort();
}

TEST_F(Win32Ending, FaultsAndFatalSignalsEndWithTheirTextsAfterTheCleanup) {
    EXPECT_EXIT(RunProgram(Fault), ::testing::ExitedWithCode(-1), "^Unhandled Memory Exception Error\\+cleaned$");
    EXPECT_EXIT(RunProgram([]() -> int { std::abort(); }), ::testing::ExitedWithCode(-1), "^Received Signal$");
    EXPECT_EXIT(RunProgram([]() -> int { std::raise(SIGSEGV); return 0; }), ::testing::ExitedWithCode(-1),
                "^Unhandled Memory Exception Error$");
    EXPECT_EXIT(RunProgram([]() -> int { std::raise(SIGTERM); return 0; }), ::testing::ExitedWithCode(-1),
                "^Received Signal$");
    EXPECT_EXIT(RunProgram(HangInUndo), ::testing::ExitedWithCode(-1), "^Received Signal$");
}

// A console of the child's own takes the event, so that nothing else that
// shares the test's console is reached; the standard error stays the pipe
// the test reads. The event is Ctrl+C: wine delivers no Ctrl+Break to such a
// console, where Windows delivers both.
void SendCtrlCToOwnConsole() {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    FreeConsole();
    AllocConsole();
    SetStdHandle(STD_ERROR_HANDLE, error);
    GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0);
}

int TakeCtrlC() {
    SendCtrlCToOwnConsole();
    Sleep(5000);
    return 0;
}

void SayExitHandlersRan() {
    std::fputs("+exit handlers", stderr);
    std::fflush(stderr);
}

// While the ending is deferred the event pump ends the program, through the
// exit handlers; the pump asks EndIfSignalled.
int TakeCtrlCWhileDeferred() {
    std::atexit(SayExitHandlersRan);
    SetSignalEndingDeferred(true);
    SendCtrlCToOwnConsole();
    for (int i = 0; i < 400; ++i) {
        EndIfSignalled();
        Sleep(5);
    }
    return 0;
}

TEST_F(Win32Ending, AConsoleControlEventEndsAtOnceOrAtTheNextPumpWhileDeferred) {
    EXPECT_EXIT(RunProgram(TakeCtrlC), ::testing::ExitedWithCode(-1), "^Received Signal$");
    EXPECT_EXIT(RunProgram(TakeCtrlCWhileDeferred), ::testing::ExitedWithCode(-1),
                "^Received Signal\\+exit handlers$");
}

}  // namespace
}  // namespace vesk
