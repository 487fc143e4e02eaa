#include "intro/picture_rows.h"

#include "intro/screen.h"
#include "intro/show_math.h"

namespace vesk {

int32_t PictureX(int32_t width) { return kShowCentreX - width / 2; }
int32_t PictureY(int32_t height) { return kShowCentreY - height / 2 - 10; }

int32_t RowAmplitude(int32_t t) {
    if (t < 360) return 0;
    // 3.6 is kept a single-precision constant; for these whole numbers the
    // quotient truncates as (t - 360) * 5 div 18 does.
    if (t < 720) return TruncateToInt32((t - 360) / static_cast<double>(3.6f));
    return 100;
}

double RowShift(int32_t centis, int32_t row) {
    const int32_t t = WrappingAdd(centis, row);
    const double wave = SinDegrees(t / 10.0) + SinDegrees(t / 3.0);
    return wave * RowAmplitude(t) * SinDegrees(t);
}

void DrawPictureRows(const std::vector<TImageRef>& rows, int32_t width, int32_t centis) {
    const auto height = static_cast<int32_t>(rows.size());
    const int32_t x = PictureX(width);
    const int32_t y = PictureY(height);
    for (int32_t row = 0; row < height; ++row) {
        // Computed in double, handed over in single precision.
        DrawImageFrame(rows[row], static_cast<float>(x + RowShift(centis, row)), static_cast<float>(y + row), 0);
    }
}

}  // namespace vesk
