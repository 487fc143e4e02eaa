#include "intro/recording.h"

#include <vesk/graphics/draw_primitives.h>
#include "intro/frame_file.h"
#include "intro/screen.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace vesk {
namespace {

// The frame names are written with backslashes; the file system wants
// slashes.
std::string FilePath(const Text& name) {
    std::string path = TextToUtf8(name);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// Said once: a full disk or a missing folder fails every frame after it,
// and the recording goes on regardless.
void ReportUnsavedFrame(int32_t frameNumber, const Text& name, const std::string& why) {
    static bool reported = false;
    if (reported) return;
    reported = true;
    const std::string path = FilePath(name);
    std::fprintf(stderr, "intro-record: frame %d was not saved to %s: %s (recording goes on; later frames that "
                         "cannot be saved are skipped without a word)\n",
                 static_cast<int>(frameNumber), path.c_str(), why.c_str());
}

}  // namespace

Text RecordFileName(int32_t frameNumber) {
    Text digits = NumberText(frameNumber);
    // Five digits at least; longer numbers keep all their digits, so frame
    // 100000 does not overwrite frame 0.
    if (digits.size() < 5) digits.insert(0, 5 - digits.size(), u'0');
    return u"record\\image" + digits + u".png";
}

bool SaveRecordedFrame(int32_t frameNumber) {
    // The previous frame's pixmap goes as this one replaces it.
    static TPixmapRef grabbed;
    grabbed = GrabScreenPixmap(0, 0, kShowWidth, kShowHeight);
    const Text name = RecordFileName(frameNumber);
    std::string why;
    if (SaveWholeFrame(grabbed, FilePath(name), why)) return true;
    ReportUnsavedFrame(frameNumber, name, why);
    return false;
}

void RecordFrame(int32_t frameNumber, const TRecordedFrameSink& sink) {
    if (sink) sink(frameNumber);
    else SaveRecordedFrame(frameNumber);
}

}  // namespace vesk
