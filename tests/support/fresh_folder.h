// Making a folder of its own below the temporary folder, portably.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace vesk::test {

// A folder of a new random name below the temporary folder, made here and by
// nobody else (making it fails when the name exists); empty when none could
// be made. The C library's mkdtemp does the same where it exists.
inline std::filesystem::path MakeFreshFolder(const std::string& prefix) {
    std::error_code error;
    const std::filesystem::path parent = std::filesystem::temp_directory_path(error);
    if (error) return {};
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path candidate = parent / (prefix + std::to_string(random() % 1000000000000ull));
        if (std::filesystem::create_directory(candidate, error)) return candidate;
    }
    return {};
}

}  // namespace vesk::test
