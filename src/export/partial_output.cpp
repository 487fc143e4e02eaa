#include "export/partial_output.h"

#include "export/export_error.h"
#include "export/signal_cleanup.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vesk {
namespace {

namespace fs = std::filesystem;

constexpr int kMaxLinkHops = 40;  // as many as the kernel follows

[[noreturn]] void Refuse(const std::string& name, const std::string& why) {
    throw TExportError("cannot write " + name + ": " + why);
}

// Where the final name leads: each symbolic link is replaced by what it
// names, relative links from the link's own folder. A link to nothing leads
// to the name it holds, where the video will then be made.
fs::path FollowLinks(const std::string& name) {
    fs::path path = name;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(path, error))) return path;
        const fs::path target = fs::read_symlink(path, error);
        if (error) Refuse(name, error.message());
        path = target.is_absolute() ? target : path.parent_path() / target;
    }
    Refuse(name, std::strerror(ELOOP));
}

const char* KindOfSpecialFile(mode_t mode) {
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISLNK(mode)) return "a symbolic link that came while the video was made";
    return "not a regular file";
}

// Only a regular file, or nothing, may be replaced by the video. True when
// there is one, with its status.
bool CheckReplaceable(const std::string& name, const fs::path& target, struct stat& status) {
    if (lstat(target.c_str(), &status) != 0) {
        if (errno == ENOENT) return false;
        Refuse(name, std::strerror(errno));
    }
    if (S_ISDIR(status.st_mode)) Refuse(name, "it is a folder");
    if (!S_ISREG(status.st_mode))
        Refuse(name, std::string("it is ") + KindOfSpecialFile(status.st_mode) + ", not a regular file");
    return true;
}

constexpr mode_t kPermissionBits = S_IRWXU | S_IRWXG | S_IRWXO;

// The partial file is made with the permissions of the file it will
// replace, so that a private video is not readable by others while it is
// made; ffmpeg must be able to write it meanwhile. A new video gets the
// usual mode of a new file (0666 less the umask).
mode_t CreationMode(bool replacing, const struct stat& replaced) {
    return replacing ? (replaced.st_mode & kPermissionBits) | S_IWUSR : 0666;
}

// The video takes the replaced file's permission bits, and its group where
// the user may give it: a group the user is not in stays the user's own.
void TakeOverMode(const std::string& name, const std::string& partial, const struct stat& replaced) {
    struct stat made {};
    if (stat(partial.c_str(), &made) == 0 && made.st_gid != replaced.st_gid) {
        const int ignored = chown(partial.c_str(), static_cast<uid_t>(-1), replaced.st_gid);
        (void)ignored;
    }
    if (chmod(partial.c_str(), replaced.st_mode & kPermissionBits) != 0)
        throw TExportError("cannot give the video the permissions of " + name + ": " + std::strerror(errno));
}

// The longest file name the target's folder takes, and no longer than
// keeps the whole path within the system's limit.
size_t NameLimit(const fs::path& target) {
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const long limit = pathconf(folder.c_str(), _PC_NAME_MAX);
    size_t nameLimit = limit > 0 ? static_cast<size_t>(limit) : NAME_MAX;
    const size_t used = target.native().size() - target.filename().native().size();
    if (used >= PATH_MAX - 1) return 0;
    return std::min(nameLimit, PATH_MAX - 1 - used);
}

std::string HashText(const std::string& text) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : text) hash = (hash ^ c) * 16777619u;
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", hash);
    return digits;
}

// Cuts text to at most `size` bytes without splitting a UTF-8 character.
std::string CutText(const std::string& text, size_t size) {
    if (text.size() <= size) return text;
    while (size > 0 && (static_cast<unsigned char>(text[size]) & 0xC0) == 0x80) --size;
    return text.substr(0, size);
}

}  // namespace

std::string PartialFileName(const std::string& finalName, const std::string& id, size_t nameLimit) {
    const std::string suffix = ".part-" + id;
    if (finalName.size() + suffix.size() <= nameLimit) return finalName + suffix;
    // Built by appending: g++ 12 mistakes the prepend of a literal for an
    // overlapping copy in release builds.
    std::string tag(1, '~');
    tag += HashText(finalName);
    tag += suffix;
    return CutText(finalName, nameLimit > tag.size() ? nameLimit - tag.size() : 0) + tag;
}

TPartialOutput::TPartialOutput(const std::string& finalPath) : finalPath_(finalPath) {
    const fs::path target = FollowLinks(finalPath);
    struct stat replaced {};
    const bool replacing = CheckReplaceable(finalPath, target, replaced);
    targetPath_ = target.string();
    const std::string name = PartialFileName(target.filename().string(), std::to_string(getpid()), NameLimit(target));
    partialPath_ = (target.parent_path() / name).string();
    const int fd = open(partialPath_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, CreationMode(replacing, replaced));
    if (fd < 0) Refuse(finalPath, std::strerror(errno));
    close(fd);
    SetCleanupFile(partialPath_);
}

TPartialOutput::~TPartialOutput() {
    if (committed_) return;
    std::remove(partialPath_.c_str());
    SetCleanupFile({});
}

void TPartialOutput::Commit() {
    // Whatever came under the name while the video was made gets the same
    // check as what was there at the start.
    struct stat replaced {};
    if (CheckReplaceable(finalPath_, targetPath_, replaced)) TakeOverMode(finalPath_, partialPath_, replaced);
    if (std::rename(partialPath_.c_str(), targetPath_.c_str()) != 0)
        throw TExportError("cannot move the video to " + finalPath_ + ": " + std::strerror(errno));
    committed_ = true;
    SetCleanupFile({});
}

}  // namespace vesk
