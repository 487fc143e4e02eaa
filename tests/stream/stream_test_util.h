// Helpers shared by the stream tests.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <vesk/stream/buffer_stream.h>
#include <vesk/stream/stream.h>

#include "support/temp_folder.h"

namespace vesk::test {

// A readable stream over a copy of the given bytes.
inline std::shared_ptr<TBufferStream> StreamOver(const std::vector<std::uint8_t>& bytes) {
    auto buffer = TMemoryBuffer::Allocate(static_cast<std::int32_t>(bytes.size()));
    if (!bytes.empty()) std::copy(bytes.begin(), bytes.end(), buffer->Data());
    return TBufferStream::Over(buffer);
}

inline std::vector<std::uint8_t> Contents(const TBufferRef& buffer) {
    return std::vector<std::uint8_t>(buffer->Data(), buffer->Data() + buffer->Size());
}

inline Text PathText(const std::filesystem::path& path) { return Utf8ToText(path.string()); }

}  // namespace vesk::test
