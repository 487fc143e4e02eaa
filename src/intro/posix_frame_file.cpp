// Whole frames over POSIX files: a temporary file made afresh, and a rename,
// which replaces the frame's name itself (a link included) in one step.
#include "intro/frame_file.h"

#include <vesk/pixmap/png_file.h>
#include <vesk/runtime/startup.h>
#include <vesk/stream/file_stream.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace vesk {
namespace {

// Read by the fatal-signal undo, which may only touch plain memory and
// lock-free atomics: the name lives in a fixed buffer.
char temporaryName[4096];
std::atomic<bool> temporaryNameSet{false};

void RemoveTemporaryFrame() {
    if (temporaryNameSet.load()) unlink(temporaryName);
}

// Marks the temporary file for removal should a fatal signal end the
// process while the frame is written. A name too long for the buffer is too
// long for the system as well, and no file is made under it.
void Claim(const std::string& name) {
    temporaryNameSet.store(false);
    if (name.size() >= sizeof temporaryName) return;
    std::memcpy(temporaryName, name.c_str(), name.size() + 1);
    temporaryNameSet.store(true);
    AddSignalUndo(RemoveTemporaryFrame);
}

// Made afresh, never opened through what is under the name already (a
// leftover of a killed run, or a link put there).
std::FILE* CreateTemporary(const std::string& name, std::string& why) {
    unlink(name.c_str());
    const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    std::FILE* handle = descriptor >= 0 ? fdopen(descriptor, "wb") : nullptr;
    if (handle) return handle;
    why = std::strerror(errno);
    if (descriptor >= 0) close(descriptor);
    return nullptr;
}

bool WriteTemporary(const TPixmapRef& pixmap, const std::string& name, std::string& why) {
    std::FILE* handle = CreateTemporary(name, why);
    if (!handle) return false;
    const std::shared_ptr<TFileStream> file = TFileStream::FromHandle(handle, TFileStream::kModeWrite);
    bool written = false;
    try {
        written = WritePng(pixmap, TUrl(file), 0) != 0;
    } catch (const TStreamError& failure) {
        why = failure.Reason().empty() ? failure.Message() : failure.Reason();
    }
    // The last bytes reach the file only as it closes: a full disk may show
    // itself only now, and its reason is the one to give.
    file->Close();
    if (file->ErrorNumber() != 0) why = std::strerror(file->ErrorNumber());
    else if (!written && why.empty()) why = "it could not be made";
    return written && file->ErrorNumber() == 0;
}

}  // namespace

std::string TemporaryFrameName(const std::string& path) { return path + ".part-" + std::to_string(getpid()); }

bool SaveWholeFrame(const TPixmapRef& pixmap, const std::string& path, std::string& why) {
    const std::string temporary = TemporaryFrameName(path);
    Claim(temporary);
    bool saved = WriteTemporary(pixmap, temporary, why);
    if (saved && std::rename(temporary.c_str(), path.c_str()) != 0) {
        why = std::strerror(errno);
        saved = false;
    }
    if (!saved) unlink(temporary.c_str());
    temporaryNameSet.store(false);
    return saved;
}

}  // namespace vesk
