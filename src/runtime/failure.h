// Failures: the engine raises an exception carrying a message text for
// anything a caller cannot be expected to handle. Expected absences (a name
// that does not open, a file no reader accepts) are results, not failures.
#pragma once

#include <exception>
#include <string>

namespace vesk {

class TFailure : public std::exception {
public:
    explicit TFailure(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// Raises a TFailure with the given text. Kept out of line so call sites stay small.
[[noreturn]] void Fail(const std::string& message);

// The texts of the failures raised for fatal signals.
inline constexpr const char* kMemoryFaultMessage = "Unhandled Memory Exception Error";
inline constexpr const char* kSignalMessage = "Received Signal";

}  // namespace vesk
