// Helpers for checking recorded frames: reading them, comparing pixels and
// regions, and the reference frames kept in the test data.
#pragma once

#include <vesk/pixmap/pixmap.h>
#include "support/temp_folder.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>

namespace vesk::test {

using TRgb = std::array<int, 3>;

TRgb RgbAt(const TPixmap& pixmap, int x, int y);
bool IsBlack(const TRgb& rgb);

// Frames are written in FormatRGBA8888; null when the file is not a PNG.
TPixmapRef ReadFrame(const std::filesystem::path& path);

// How many pixels are exactly pure red or pure magenta.
int CountMaskColours(const TPixmap& frame);

// The largest difference of any channel over the w x h rectangles at
// (ax, ay) of a and (bx, by) of b.
int MaxDifference(const TPixmap& a, int ax, int ay, const TPixmap& b, int bx, int by, int w, int h);

// Compares a frame with the kept reference of the given name, or, when the
// environment asks for it (VESK_UPDATE_REFERENCE_FRAMES=1), replaces the
// reference with the frame. Returns an empty text when they match: every
// channel within `tolerance`, with at most `allowedOutliers` pixels beyond.
std::string CheckReferenceFrame(const TPixmapRef& frame, const std::string& name, int tolerance,
                                int allowedOutliers);

}  // namespace vesk::test
