// Process start-up and the last resort for failures that nothing caught.
#pragma once

#include <concepts>
#include <functional>
#include <string>
#include <type_traits>
#include <utility>

namespace vesk {

// Runs the program body under the runtime's conventions: fatal signals are
// turned into their failure texts, and a failure that escapes the body writes
// exactly its message to standard error, without a line end, and ends the
// process with status -1 (255); a failure with a reason adds a line end and
// the reason on a line of its own. Returns the body's result otherwise.
int RunProgram(const std::function<int()>& body);
int RunProgram(int (*body)());

// Any other callable that returns an int, a lambda with captures among them.
template <class Body>
    requires std::is_invocable_r_v<int, Body&> && (!std::same_as<std::remove_cvref_t<Body>, std::function<int()>>)
int RunProgram(Body&& body) {
    return RunProgram(std::function<int()>(std::forward<Body>(body)));
}

// Installs the fatal-signal handlers. Safe to call more than once.
void InstallSignalHandlers();

// While set, the termination signals (interrupt, terminate, hang-up, quit)
// do not end the process at once: the next event pump ends it through the
// normal exit path, with the same message and status, so that the exit
// handlers undo what must not outlive the process (a switched display mode).
// A second signal, or a program that pumps no more within a few seconds,
// still ends it at once.
void SetSignalEndingDeferred(bool deferred);
// Ends the process as the failure "Received Signal" when a deferred signal
// has arrived; the event pump calls it.
void EndIfSignalled();

// What a fatal signal that ends the process at once (a fault, an abort, a
// termination that is not deferred or the deferred ending's fallback alarm)
// must still undo, as far as a crashing process can: each undo added is
// called once, after the message is written, and together they get a couple
// of seconds before the process ends without them. Up to four at once;
// adding one that is there already changes nothing, and false means no room.
bool AddSignalUndo(void (*undo)());
void RemoveSignalUndo(void (*undo)());

// Writes a failure's message to standard error with no line end, then the
// reason, if any, on the next line; flushes, and exits with status -1. Exit
// handlers registered with std::atexit run.
[[noreturn]] void ExitWithFailure(const std::string& message, const std::string& reason = {});

// The folder that holds the running executable, with a trailing slash; empty
// when the platform cannot tell. Recorded when the runtime initialises.
const std::string& ExecutableDirectory();

// The runtime's once-only initialiser: records the executable's folder and
// installs the signal handlers.
void InitRuntimeModule();

}  // namespace vesk
