// The export's progress on the terminal: frames done, frames per second and
// the time left. On a terminal one line is redrawn in place a few times a
// second; into a file or a pipe a plain line goes out every few seconds, so
// logs stay readable.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>

namespace vesk {

// One progress line, e.g.
// "[#########-----------]  4210/13046 frames   52.1 fps  2:49 left".
// The time left follows from the rate; both show as "--" while the rate is
// not known yet (0).
std::string FormatProgress(int done, int total, double framesPerSecond, int barWidth = 30);

class TProgressBar {
public:
    TProgressBar(int total, std::FILE* out);
    // Ends a line left open on the terminal, so that a message that follows
    // starts on a line of its own.
    ~TProgressBar();
    TProgressBar(const TProgressBar&) = delete;
    TProgressBar& operator=(const TProgressBar&) = delete;
    // Reports `done` frames; shown at most a few times a second.
    void Update(int done);
    // Shows the final count and ends the line.
    void Finish(int done);

private:
    using TClock = std::chrono::steady_clock;
    double Rate(int done, bool last) const;
    void Show(int done, bool last);

    int total_;
    std::FILE* out_;
    bool terminal_;
    // The rate is measured from the first report on, which leaves the
    // show's start-up out of it.
    TClock::time_point start_;
    int startDone_ = 0;
    TClock::time_point lastShown_;
    bool started_ = false;
    bool lineOpen_ = false;
};

}  // namespace vesk
