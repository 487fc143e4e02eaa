// What start-up asks of the platform beyond the signal handlers declared in
// <vesk/runtime/startup.h>.
#pragma once

#include <string>

namespace vesk {

// The folder that holds the running executable, with its trailing
// separator; empty when the platform cannot tell.
std::string FindExecutableDirectory();

// Runs every undo given to AddSignalUndo, each at most once: its slot is
// emptied before it runs, so an undo that faults and comes back through the
// ending finds nothing left to run again.
void RunEachSignalUndoOnce();

}  // namespace vesk
