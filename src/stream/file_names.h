// Files by the names the engine gives them: text, with backslashes or slashes
// between folders. The platform's file functions take names in their own
// form: UTF-8 with slashes on POSIX systems and in the browser, UTF-16 on
// Windows, whose byte-string functions would read the bytes in the local
// code page instead.
#pragma once

#include <vesk/runtime/text.h>

#include <cstdio>

namespace vesk {

// The C library's buffered file, opened with an fopen mode; null when it
// does not open, and for a folder, which is no file.
std::FILE* OpenFileByName(const Text& name, const char* mode);
// False only when the system says that nothing has the name.
bool NameExists(const Text& name);
void RemoveFileByName(const Text& name);

}  // namespace vesk
