// What this build of the engine leaves out, for the tests that depend on it.
#pragma once

namespace vesk::test {

// Builds without libpng (Windows) read no PNG files.
inline constexpr bool kPngAbsent = VESK_PNG_ABSENT != 0;

}  // namespace vesk::test
