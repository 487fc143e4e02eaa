// Writing a generated asset to its place in the build tree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vesk::assetgen {

// Raises std::runtime_error when the file cannot be written.
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace vesk::assetgen
