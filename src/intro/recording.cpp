#include "intro/recording.h"

#include "graphics/draw_primitives.h"
#include "pixmap/png_file.h"

#include <utility>

namespace vesk {
namespace {

TRecordedFrameSink& InstalledSink() {
    static TRecordedFrameSink sink;
    return sink;
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
    grabbed = GrabScreenPixmap(0, 0, 768, 576);
    return WritePng(grabbed, RecordFileName(frameNumber), 0) != 0;
}

void SetRecordedFrameSink(TRecordedFrameSink sink) { InstalledSink() = std::move(sink); }

void RecordFrame(int32_t frameNumber) {
    if (const TRecordedFrameSink& sink = InstalledSink()) sink(frameNumber);
    else SaveRecordedFrame(frameNumber);
}

}  // namespace vesk
