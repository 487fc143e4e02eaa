// The export itself: runs the recording build's show headless for the frames
// asked for and streams each one, with the music, into ffmpeg, which writes
// an H.264/AAC MP4. The show runs from its first frame whatever range is
// asked for, since every frame builds on the ones before it.
#pragma once

#include "export/export_options.h"
#include "intro/screen.h"

#include <string>
#include <vector>

namespace vesk {

// The picture the show renders, as the recording build saves it.
inline constexpr int kExportWidth = kShowWidth;
inline constexpr int kExportHeight = kShowHeight;

// ffmpeg's arguments for writing `outputPath`: raw RGBA frames on standard
// input, raw 16-bit stereo PCM at `soundHertz` on descriptor 3 (when
// `withSound`).
std::vector<std::string> FfmpegArguments(const TExportOptions& options, const std::string& outputPath,
                                         int soundHertz, bool withSound);

// Runs the export; returns the process's exit status: 0 when the video is
// in place, 1 when it failed, with the reason on standard error. Once per
// process, like the show.
int RunVideoExport(const TExportOptions& options);

}  // namespace vesk
