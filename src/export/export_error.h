// A failure of the export that ends it with a message for the user: ffmpeg
// missing or failing, an output that cannot be written. Unlike the engine's
// failures these are expected, and the export cleans up before reporting.
#pragma once

#include <stdexcept>
#include <string>

namespace vesk {

class TExportError : public std::runtime_error {
public:
    explicit TExportError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace vesk
