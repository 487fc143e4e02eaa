#include "export/ffmpeg_process.h"

#include "export/export_error.h"
#include "export/signal_cleanup.h"

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char** environ;

namespace vesk {
namespace {

constexpr size_t kKeptErrorBytes = 8192;
constexpr int kAudioDescriptor = 3;

struct TPipe {
    int read = -1;
    int write = -1;
};

// Both ends close on exec; the child's ends are also moved above the
// descriptors they are duplicated onto, so that every duplication in the
// child really copies (and so clears close-on-exec).
TPipe MakePipe() {
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) throw TExportError(std::string("cannot make a pipe: ") + std::strerror(errno));
    for (int& end : ends) {
        const int moved = fcntl(end, F_DUPFD_CLOEXEC, 10);
        if (moved < 0) continue;
        close(end);
        end = moved;
    }
    return {ends[0], ends[1]};
}

void CloseDescriptor(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

std::string DescribeStatus(int status) {
    if (WIFEXITED(status)) {
        if (WEXITSTATUS(status) == 0) return {};
        return "exited with status " + std::to_string(WEXITSTATUS(status));
    }
    if (WIFSIGNALED(status)) return "was ended by signal " + std::to_string(WTERMSIG(status));
    return "ended abnormally";
}

}  // namespace

TFfmpegProcess::TFfmpegProcess(const std::string& program, const std::vector<std::string>& arguments) {
    TPipe video = MakePipe();
    TPipe audio = MakePipe();
    TPipe errors = MakePipe();
    // A frame at a time fits in a larger pipe; refused sizes leave the default.
    fcntl(video.write, F_SETPIPE_SZ, 1 << 20);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, video.read, STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, audio.read, kAudioDescriptor);
    posix_spawn_file_actions_adddup2(&actions, errors.write, STDERR_FILENO);
    // The export ignores SIGPIPE to see a vanished reader as an error; ffmpeg
    // gets the usual behaviour back.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t defaults;
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF);

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const int result = posix_spawnp(&pid_, program.c_str(), &actions, &attributes, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);

    close(video.read);
    close(audio.read);
    close(errors.write);
    if (result != 0) {
        pid_ = 0;
        close(video.write);
        close(audio.write);
        close(errors.read);
        if (result == ENOENT)
            throw TExportError(program + " was not found in PATH; install it (Debian: apt-get install ffmpeg)");
        throw TExportError("cannot start " + program + ": " + std::strerror(result));
    }
    SetCleanupProcess(pid_);
    video_ = video.write;
    audio_ = audio.write;
    errorReader_ = std::thread([this, fd = errors.read] { CollectErrors(fd); });
}

TFfmpegProcess::~TFfmpegProcess() {
    if (pid_ != 0) Kill();
    CloseDescriptor(video_);
    CloseDescriptor(audio_);
    if (errorReader_.joinable()) errorReader_.join();
}

int TFfmpegProcess::TakeVideoPipe() { return std::exchange(video_, -1); }
int TFfmpegProcess::TakeAudioPipe() { return std::exchange(audio_, -1); }

std::string TFfmpegProcess::Wait() {
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    SetCleanupProcess(0);
    pid_ = 0;
    // The child's end of the error pipe is closed now, so the reader ends.
    if (errorReader_.joinable()) errorReader_.join();
    return DescribeStatus(status);
}

void TFfmpegProcess::Kill() {
    if (pid_ == 0) return;
    kill(pid_, SIGKILL);
    Wait();
}

std::string TFfmpegProcess::ErrorOutput() const {
    std::lock_guard<std::mutex> lock(errorMutex_);
    return errors_;
}

void TFfmpegProcess::CollectErrors(int readEnd) {
    char buffer[4096];
    for (;;) {
        const ssize_t count = read(readEnd, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) break;
        std::lock_guard<std::mutex> lock(errorMutex_);
        errors_.append(buffer, static_cast<size_t>(count));
        if (errors_.size() > kKeptErrorBytes) errors_.erase(0, errors_.size() - kKeptErrorBytes);
    }
    close(readEnd);
}

bool WriteAll(int fd, const void* data, size_t size) {
    const auto* bytes = static_cast<const uint8_t*>(data);
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace vesk
