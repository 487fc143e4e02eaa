// A portable stand-in for a full disk: while a TFileSizeLimit lives, no file
// of the process can grow past the given size, and writes beyond it fail
// (with "File too large") the way writes to a full disk do.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace vesk::test {

class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t bytes) {
        std::signal(SIGXFSZ, SIG_IGN);  // a failed write, not a killed process
        getrlimit(RLIMIT_FSIZE, &saved_);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~TFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit saved_{};
};

}  // namespace vesk::test
