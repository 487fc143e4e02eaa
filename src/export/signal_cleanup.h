// What a fatal signal must undo before the program ends: the partial video
// file is removed and ffmpeg is stopped, so an interrupted export leaves
// nothing behind. The runtime's own handler then reports the signal as usual.
#pragma once

#include <sys/types.h>

#include <string>

namespace vesk {

// Installs the handlers in front of the runtime's, which must be in place
// already (InitRuntimeModule). Safe to call more than once.
void InstallSignalCleanup();

// The file to remove on a fatal signal; empty text for none.
void SetCleanupFile(const std::string& path);
// The process to kill on a fatal signal; 0 for none.
void SetCleanupProcess(pid_t pid);

}  // namespace vesk
