#include "common/file_output.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace vesk::assetgen {

// Written beside the target and renamed into place, so that a generator
// stopped half-way never leaves a truncated asset that looks up to date.
void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    const std::string partial = path + ".partial";
    std::ofstream file(partial, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    file.close();
    if (!file) {
        std::filesystem::remove(partial);
        throw std::runtime_error("cannot write " + path);
    }
    std::filesystem::rename(partial, path);
}

}  // namespace vesk::assetgen
