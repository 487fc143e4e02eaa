// Failures: the engine raises an exception carrying a message text for
// anything a caller cannot be expected to handle. Expected absences (a name
// that does not open, a file no reader accepts) are results, not failures.
#pragma once

#include <vesk/runtime/text.h>

#include <exception>
#include <string>

namespace vesk {

class TFailure : public std::exception {
public:
    explicit TFailure(std::string message, std::string reason = {})
        : message_(std::move(message)), reason_(std::move(reason)) {}
    // From engine text, kept as UTF-8.
    explicit TFailure(const Text& message, const Text& reason = {})
        : TFailure(TextToUtf8(message), TextToUtf8(reason)) {}
    const std::string& Message() const noexcept { return message_; }
    // Why it happened, in words for the user; empty when the message says
    // all there is. The message stays the same whatever the reason.
    const std::string& Reason() const noexcept { return reason_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
    std::string reason_;
};

// Raises a TFailure with the given text. Kept out of line so call sites stay small.
[[noreturn]] void Fail(const std::string& message);
[[noreturn]] void Fail(const std::string& message, const std::string& reason);

// The texts of the failures raised for fatal signals.
inline constexpr const char* kMemoryFaultMessage = "Unhandled Memory Exception Error";
inline constexpr const char* kSignalMessage = "Received Signal";

}  // namespace vesk
