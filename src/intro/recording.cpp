#include "intro/recording.h"

#include "graphics/draw_primitives.h"
#include "intro/screen.h"
#include "pixmap/png_file.h"

namespace vesk {

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
    return WritePng(grabbed, RecordFileName(frameNumber), 0) != 0;
}

void RecordFrame(int32_t frameNumber, const TRecordedFrameSink& sink) {
    if (sink) sink(frameNumber);
    else SaveRecordedFrame(frameNumber);
}

}  // namespace vesk
