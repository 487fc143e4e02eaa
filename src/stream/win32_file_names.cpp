// Windows: the C library's wide-character file functions take the names as
// UTF-16, the engine's own text, so every name reaches the file system as
// written. Backslashes and slashes both separate folders there.
#include "stream/file_names.h"

#include <cerrno>
#include <string>

#include <sys/stat.h>

namespace vesk {
namespace {

std::wstring PlatformPath(const Text& name) { return std::wstring(name.begin(), name.end()); }

std::wstring WideMode(const char* mode) { return std::wstring(mode, mode + std::char_traits<char>::length(mode)); }

// Opening a folder fails with EACCES here; checked anyway, as everywhere.
bool IsFolder(std::FILE* handle) {
    struct _stat64 status {};
    return _fstat64(_fileno(handle), &status) == 0 && (status.st_mode & _S_IFMT) == _S_IFDIR;
}

}  // namespace

std::FILE* OpenFileByName(const Text& name, const char* mode) {
    std::FILE* handle = _wfopen(PlatformPath(name).c_str(), WideMode(mode).c_str());
    if (handle && IsFolder(handle)) {
        std::fclose(handle);
        return nullptr;
    }
    return handle;
}

bool NameExists(const Text& name) {
    struct _stat64 status {};
    return _wstat64(PlatformPath(name).c_str(), &status) == 0 || errno != ENOENT;
}

void RemoveFileByName(const Text& name) { _wremove(PlatformPath(name).c_str()); }

}  // namespace vesk
