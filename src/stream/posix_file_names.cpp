#include "stream/file_names.h"

#include <algorithm>
#include <cerrno>
#include <string>

#include <sys/stat.h>

namespace vesk {
namespace {

// Names are written with backslashes in places (the recorder's frame names);
// the file system wants slashes, and UTF-8 for anything beyond ASCII.
std::string PlatformPath(Text path) {
    std::replace(path.begin(), path.end(), u'\\', u'/');
    return TextToUtf8(path);
}

// The C library here opens a folder for reading as if it were a file, with
// a size that fits no stream and reads that fail.
bool IsFolder(std::FILE* handle) {
    struct stat status {};
    return fstat(fileno(handle), &status) == 0 && S_ISDIR(status.st_mode);
}

}  // namespace

std::FILE* OpenFileByName(const Text& name, const char* mode) {
    std::FILE* handle = std::fopen(PlatformPath(name).c_str(), mode);
    if (handle && IsFolder(handle)) {
        std::fclose(handle);
        return nullptr;
    }
    return handle;
}

bool NameExists(const Text& name) {
    struct stat status {};
    return stat(PlatformPath(name).c_str(), &status) == 0 || errno != ENOENT;
}

void RemoveFileByName(const Text& name) { std::remove(PlatformPath(name).c_str()); }

}  // namespace vesk
