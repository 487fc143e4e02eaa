// A fresh folder below the system's temporary folder, removed with all it
// holds when the object goes. Path() is empty when none could be made.
#pragma once

#include "support/fresh_folder.h"

#include <filesystem>
#include <string>
#include <system_error>

namespace vesk::test {

class TTempFolder {
public:
    TTempFolder() : path_(MakeFreshFolder("vesk-test-")) {}
    ~TTempFolder() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    TTempFolder(const TTempFolder&) = delete;
    TTempFolder& operator=(const TTempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

}  // namespace vesk::test
