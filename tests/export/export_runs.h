// Helpers for running intro-export, ffprobe and ffmpeg from the tests, and
// for the recording build's own frames, rendered in the test's process.
#pragma once

#include <vesk/pixmap/pixmap.h>
#include "support/temp_folder.h"

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vesk::test {

struct TCommandResult {
    int status = -1;  // the exit status; -1 when it did not exit normally
    std::string errors;  // what it wrote to standard error
};

// Runs a shell command line in `folder`, keeping its standard error.
TCommandResult RunCommand(const std::string& commandLine, const std::filesystem::path& folder);

// The command line that starts intro-export with the arguments; `path`
// replaces PATH when not empty.
std::string ExportCommand(const std::string& arguments, const std::string& path = {});

// The file names in a folder.
std::set<std::string> FolderContents(const std::filesystem::path& folder);

// ffprobe's "key=value" lines for the format and each stream, in order:
// element 0 is the format, then one map per stream.
std::vector<std::map<std::string, std::string>> ProbeVideo(const std::filesystem::path& file);

// The first frame decoded from the video whose time is `seconds` or later,
// as FormatRGBA8888.
TPixmapRef DecodeFrameAt(const std::filesystem::path& file, double seconds);
// The whole sound track decoded to 16-bit stereo at 44100 Hz.
std::vector<int16_t> DecodeSound(const std::filesystem::path& file);

// Runs the recording build's show in this process until frame `end - 1`
// and keeps the frames asked for. Once per process.
std::map<int, TPixmapRef> RenderRecordedFrames(const std::set<int>& wanted, int end);

// Peak signal-to-noise ratio of the RGB channels, in dB (99 when identical).
double PictureSimilarity(const TPixmap& a, const TPixmap& b);

}  // namespace vesk::test
