#include "runtime/failure.h"

namespace vesk {

void Fail(const std::string& message) { throw TFailure(message); }

}  // namespace vesk
