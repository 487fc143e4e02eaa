// Process-wide memory settings that the GL driver depends on for speed.
#pragma once

namespace vesk {

// Keeps memory the GL frees in the heap instead of returning it to the
// system at once; a no-op where the C library has no such setting.
void KeepFreedGLMemory();

}  // namespace vesk
