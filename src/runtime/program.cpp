// The program's last resort for failures, the same on every platform: the
// message on standard error and status -1.
#include <vesk/runtime/startup.h>

#include <vesk/runtime/failure.h>
#include "runtime/platform_startup.h"

#include <cstdio>
#include <cstdlib>
#include <exception>

namespace vesk {
namespace {

std::string executableDirectory;

}  // namespace

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
    executableDirectory = FindExecutableDirectory();
    InstallSignalHandlers();
}

}  // namespace vesk
