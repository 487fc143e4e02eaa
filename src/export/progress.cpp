#include "export/progress.h"

#include <algorithm>
#include <cmath>
#include <unistd.h>

namespace vesk {
namespace {

std::string Minutes(double seconds) {
    const long whole = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / 60, whole % 60);
    return text;
}

}  // namespace

std::string FormatProgress(int done, int total, double framesPerSecond, int barWidth) {
    total = std::max(total, 1);
    done = std::clamp(done, 0, total);
    const int filled = static_cast<int>(static_cast<long long>(done) * barWidth / total);
    std::string line;
    line.reserve(static_cast<size_t>(barWidth) + 64);
    line.push_back('[');
    line.append(static_cast<size_t>(filled), '#');
    line.append(static_cast<size_t>(barWidth - filled), '-');
    line.push_back(']');
    char counts[64];
    std::snprintf(counts, sizeof counts, " %*d/%d frames", static_cast<int>(std::to_string(total).size()), done,
                  total);
    line += counts;
    if (framesPerSecond <= 0) return line + "     -- fps  --:-- left";
    char speed[32];
    std::snprintf(speed, sizeof speed, "  %5.1f fps", framesPerSecond);
    return line + speed + "  " + Minutes((total - done) / framesPerSecond) + " left";
}

TProgressBar::TProgressBar(int total, std::FILE* out)
    : total_(total), out_(out), terminal_(isatty(fileno(out)) != 0) {}

TProgressBar::~TProgressBar() {
    if (lineOpen_) std::fputc('\n', out_);
}

// A rate over less than half a second says little, except at the end.
double TProgressBar::Rate(int done, bool last) const {
    const double seconds = std::chrono::duration<double>(TClock::now() - start_).count();
    if (seconds <= 0 || (seconds < 0.5 && !last)) return 0;
    return (done - startDone_) / seconds;
}

void TProgressBar::Update(int done) {
    if (!started_) {
        started_ = true;
        start_ = TClock::now();
        startDone_ = done;
        Show(done, false);
        return;
    }
    const auto interval = terminal_ ? std::chrono::milliseconds(250) : std::chrono::milliseconds(5000);
    if (TClock::now() - lastShown_ >= interval) Show(done, false);
}

void TProgressBar::Finish(int done) { Show(done, true); }

void TProgressBar::Show(int done, bool last) {
    const std::string line = FormatProgress(done, total_, Rate(done, last));
    // On a terminal the line is redrawn in place and ended only at the end.
    if (terminal_) std::fprintf(out_, "\r%s\033[K%s", line.c_str(), last ? "\n" : "");
    else std::fprintf(out_, "%s\n", line.c_str());
    lineOpen_ = terminal_ && !last;
    std::fflush(out_);
    lastShown_ = TClock::now();
}

}  // namespace vesk
