#include "frame_checks.h"

#include <vesk/pixmap/pixmap_reader.h>
#include <vesk/pixmap/png_file.h>

#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace vesk::test {

TRgb RgbAt(const TPixmap& pixmap, int x, int y) {
    const TArgb argb = pixmap.GetPixel(x, y);
    return {static_cast<int>(argb >> 16 & 0xFF), static_cast<int>(argb >> 8 & 0xFF), static_cast<int>(argb & 0xFF)};
}

bool IsBlack(const TRgb& rgb) { return rgb[0] == 0 && rgb[1] == 0 && rgb[2] == 0; }

TPixmapRef ReadFrame(const std::filesystem::path& path) { return ReadPng(Utf8ToText(path.string())); }

int CountMaskColours(const TPixmap& frame) {
    int count = 0;
    for (int y = 0; y < frame.height; ++y) {
        for (int x = 0; x < frame.width; ++x) {
            const TRgb rgb = RgbAt(frame, x, y);
            if (rgb[0] == 255 && rgb[1] == 0 && (rgb[2] == 0 || rgb[2] == 255)) ++count;
        }
    }
    return count;
}

int MaxDifference(const TPixmap& a, int ax, int ay, const TPixmap& b, int bx, int by, int w, int h) {
    int worst = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const TRgb pa = RgbAt(a, ax + x, ay + y);
            const TRgb pb = RgbAt(b, bx + x, by + y);
            for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(pa[c] - pb[c]));
        }
    }
    return worst;
}

std::string CheckReferenceFrame(const TPixmapRef& frame, const std::string& name, int tolerance,
                                int allowedOutliers) {
    const std::filesystem::path path = std::filesystem::path(VESK_TEST_DATA_DIR) / "intro" / (name + ".png");
    const char* update = std::getenv("VESK_UPDATE_REFERENCE_FRAMES");
    if (update && std::strcmp(update, "1") == 0) {
        std::filesystem::create_directories(path.parent_path());
        if (WritePng(frame, Utf8ToText(path.string()), 9) == 0) return "cannot write " + path.string();
        return {};
    }
    const TPixmapRef reference = ReadFrame(path);
    if (!reference) return "no reference frame " + path.string() + " (scripts/update-reference-frames makes it)";
    if (reference->width != frame->width || reference->height != frame->height) return "reference size differs";
    int outliers = 0;
    for (int y = 0; y < frame->height; ++y) {
        for (int x = 0; x < frame->width; ++x) {
            if (MaxDifference(*frame, x, y, *reference, x, y, 1, 1) > tolerance) ++outliers;
        }
    }
    if (outliers > allowedOutliers) {
        const std::filesystem::path saved = std::filesystem::temp_directory_path() / (name + "-actual.png");
        WritePng(frame, Utf8ToText(saved.string()), 6);
        return std::to_string(outliers) + " pixels differ from " + path.string() + "; the frame is in " +
               saved.string();
    }
    return {};
}

}  // namespace vesk::test
