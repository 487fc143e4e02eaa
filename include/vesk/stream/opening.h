// Opening streams by name. A name without "::" is a file path; "protocol::path"
// goes to the registered openers ("incbin::\basic\intro.wav" names a resource
// inside the executable). An open stream given in place of a name comes back
// as a borrowed view, so closing what you get never closes what you passed.
// Every miss is a null stream, never a failure.
#pragma once

#include <cstdint>
#include <vector>

#include <vesk/stream/file_stream.h>
#include <vesk/stream/forwarding.h>
#include <vesk/stream/memory_stream.h>
#include <vesk/stream/opener.h>
#include <vesk/stream/resources.h>
#include <vesk/stream/stream.h>
#include <vesk/stream/url.h>

namespace vesk {

TStreamRef OpenUrlStream(const TUrl& url, bool readable, bool writeable);
TStreamRef OpenForReading(const TUrl& url);
TStreamRef OpenForWriting(const TUrl& url);

// Whole-stream conveniences. A name that does not open gives an empty result
// (LoadBytes, ReadWholeText) or writes nothing (SaveBytes, WriteWholeText).
std::vector<std::uint8_t> LoadBytes(const TUrl& url);
void SaveBytes(const std::vector<std::uint8_t>& bytes, const TUrl& url);
Text ReadWholeText(const TUrl& url);
void WriteWholeText(const Text& text, const TUrl& url);

// The stream subsystem's once-only initialiser: registers the memory-buffer
// opener and then the "incbin" opener (so "incbin" is asked first).
void InitStreamModule();

}  // namespace vesk
