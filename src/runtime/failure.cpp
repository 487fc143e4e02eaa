#include <vesk/runtime/failure.h>

namespace vesk {

void Fail(const std::string& message) { throw TFailure(message); }

void Fail(const std::string& message, const std::string& reason) { throw TFailure(message, reason); }

}  // namespace vesk
