// The export's command line: the output file, the range of show frames to
// encode and the encoder's quality. Parsing never touches the show or the
// file system, so it can be checked on its own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vesk {

struct TExportOptions {
    std::string output;
    int32_t firstFrame = 0;
    std::optional<int32_t> endFrame;  // one past the last frame; none: to the end of the music
    int crf = 18;                     // x264's constant rate factor, lower is better
    std::string preset = "faster";    // x264's speed preset
    bool help = false;
};

// What parsing found: the options, or the reason they were refused.
struct TParsedOptions {
    TExportOptions options;
    std::string error;  // empty when the command line is good
};

// Parses the arguments after the program name. "--name value" and
// "--name=value" are both accepted.
TParsedOptions ParseExportOptions(const std::vector<std::string>& arguments);

// The text --help prints: usage.txt, which scripts/export prints without
// building anything.
std::string ExportUsage();

}  // namespace vesk
