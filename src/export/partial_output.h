// The finished video appears under its name only when it is complete:
// ffmpeg writes to a partial file beside it, which is renamed into place on
// success and removed on every other way out, a fatal signal included. A
// file already under the final name stays untouched until then.
//
// The final name must be, or become, a regular file: a device, FIFO or
// socket under it is refused, never replaced. A symbolic link is followed,
// so the video replaces the file it names and the link stays. A replaced
// file's permission bits, and its group where the user may set it, go over
// to the video; a new video gets the usual mode of a new file.
#pragma once

#include <string>

namespace vesk {

class TPartialOutput {
public:
    // Makes the empty partial file "<name>.part-<process id>" beside the
    // file the final name leads to, shortened when that would be longer
    // than the folder allows. Raises TExportError when the final name is a
    // folder or not a regular file, or when the folder cannot take the file.
    explicit TPartialOutput(const std::string& finalPath);
    // Removes the partial file unless it was committed.
    ~TPartialOutput();
    TPartialOutput(const TPartialOutput&) = delete;
    TPartialOutput& operator=(const TPartialOutput&) = delete;

    const std::string& Path() const { return partialPath_; }
    // The name as given, for messages.
    const std::string& FinalPath() const { return finalPath_; }
    // Renames the partial file over the file the final name leads to;
    // raises TExportError.
    void Commit();

private:
    std::string finalPath_;
    std::string targetPath_;  // the final name with its symbolic links followed
    std::string partialPath_;
    bool committed_ = false;
};

// The partial file's name for a final file name in the same folder:
// "<name>.part-<id>", or when that exceeds `nameLimit` bytes, a shortened
// name with a hash of the whole name that does.
std::string PartialFileName(const std::string& finalName, const std::string& id, size_t nameLimit);

}  // namespace vesk
