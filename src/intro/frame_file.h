// A recorded frame reaches its file whole or not at all: the PNG is written
// under a temporary name beside the frame's name and renamed onto it once
// complete. A frame that cannot be saved leaves an earlier file of that name
// as it was; a fatal signal while a frame is written removes the temporary
// file; and a symbolic link under the frame's name is replaced by the frame,
// never followed out of the folder.
#pragma once

#include <vesk/pixmap/pixmap.h>

#include <string>

namespace vesk {

// Saves the pixmap as an uncompressed PNG under `path` (a file-system path),
// replacing whatever is there. False, with the system's reason in `why`, when
// the frame could not be saved.
bool SaveWholeFrame(const TPixmapRef& pixmap, const std::string& path, std::string& why);

// The temporary name a frame is written under: beside `path`, and this
// process's own.
std::string TemporaryFrameName(const std::string& path);

}  // namespace vesk
