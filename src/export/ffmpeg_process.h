// ffmpeg as a child process: the pictures go to its standard input, the
// sound through a second pipe on its file descriptor 3, and what it writes to
// its standard error is kept for the report when it fails. The POSIX process
// and pipe calls of the export live here.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vesk {

class TFfmpegProcess {
public:
    // Starts `program`, looked up in PATH, with the arguments, and has a
    // fatal signal kill it until it is reaped. Raises TExportError when it
    // cannot be started (not installed, not runnable).
    TFfmpegProcess(const std::string& program, const std::vector<std::string>& arguments);
    // Kills it when it still runs.
    ~TFfmpegProcess();
    TFfmpegProcess(const TFfmpegProcess&) = delete;
    TFfmpegProcess& operator=(const TFfmpegProcess&) = delete;

    pid_t Pid() const { return pid_; }
    // The writing ends of the two input pipes, handed over to the caller,
    // who closes each to end that input; -1 once taken. Pipes not taken are
    // closed with the process object.
    int TakeVideoPipe();
    int TakeAudioPipe();

    // Waits for the process to end. Returns empty text when it exited with
    // status 0, otherwise what happened ("exited with status 1").
    std::string Wait();
    // Ends it at once, without letting it finish its file, and reaps it.
    // Writes to its pipes fail from then on.
    void Kill();
    // The last few kilobytes of its standard error; complete after Wait.
    std::string ErrorOutput() const;

private:
    void CollectErrors(int readEnd);

    pid_t pid_ = 0;
    int video_ = -1;
    int audio_ = -1;
    std::thread errorReader_;
    mutable std::mutex errorMutex_;
    std::string errors_;
};

// Writes all bytes, resuming after interruptions and partial writes. False
// when the reader has gone (the process ended) or the write failed.
bool WriteAll(int fd, const void* data, size_t size);

}  // namespace vesk
