// What start-up asks of the platform beyond the signal handlers declared in
// <vesk/runtime/startup.h>.
#pragma once

#include <string>

namespace vesk {

// The folder that holds the running executable, with its trailing
// separator; empty when the platform cannot tell.
std::string FindExecutableDirectory();

}  // namespace vesk
