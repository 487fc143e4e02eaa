#include "export/partial_output.h"

#include "export/export_error.h"
#include "export/signal_cleanup.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace vesk {

TPartialOutput::TPartialOutput(const std::string& finalPath)
    : finalPath_(finalPath), partialPath_(finalPath + ".part-" + std::to_string(getpid())) {
    std::error_code error;
    if (std::filesystem::is_directory(finalPath, error))
        throw TExportError("cannot write " + finalPath + ": it is a folder");
    const int fd = open(partialPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) throw TExportError("cannot write " + finalPath + ": " + std::strerror(errno));
    close(fd);
    SetCleanupFile(partialPath_);
}

TPartialOutput::~TPartialOutput() {
    if (committed_) return;
    std::remove(partialPath_.c_str());
    SetCleanupFile({});
}

void TPartialOutput::Commit() {
    if (std::rename(partialPath_.c_str(), finalPath_.c_str()) != 0)
        throw TExportError("cannot move the video to " + finalPath_ + ": " + std::strerror(errno));
    committed_ = true;
    SetCleanupFile({});
}

}  // namespace vesk
