// Helpers shared by the stream tests.
#pragma once

#include <cstdint>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/fresh_folder.h"
#include <vesk/stream/buffer_stream.h>
#include <vesk/stream/stream.h>

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

// A fresh folder under the system's temporary folder, removed afterwards.
class TTempFolder {
public:
    TTempFolder() : path_(MakeFreshFolder("vesk-stream-")) {}
    ~TTempFolder() { std::filesystem::remove_all(path_); }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
};

inline Text PathText(const std::filesystem::path& path) { return Utf8ToText(path.string()); }

}  // namespace vesk::test
