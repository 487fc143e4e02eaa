// The finished video appears under its name only when it is complete:
// ffmpeg writes to a partial file beside it, which is renamed into place on
// success and removed on every other way out, a fatal signal included. A
// file already under the final name stays untouched until then.
#pragma once

#include <string>

namespace vesk {

class TPartialOutput {
public:
    // Makes the empty partial file "<name>.part-<process id>" in the final
    // file's folder. Raises TExportError when that folder cannot take it or
    // the name is a folder.
    explicit TPartialOutput(const std::string& finalPath);
    // Removes the partial file unless it was committed.
    ~TPartialOutput();
    TPartialOutput(const TPartialOutput&) = delete;
    TPartialOutput& operator=(const TPartialOutput&) = delete;

    const std::string& Path() const { return partialPath_; }
    const std::string& FinalPath() const { return finalPath_; }
    // Renames the partial file to the final name; raises TExportError.
    void Commit();

private:
    std::string finalPath_;
    std::string partialPath_;
    bool committed_ = false;
};

}  // namespace vesk
