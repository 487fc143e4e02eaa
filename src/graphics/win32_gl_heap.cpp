// On Windows the GL is the display driver's own, with its own allocator
// behind it; the C library's heap has no setting that would change how it
// hands memory back, so there is nothing to tune.
#include "graphics/gl_heap.h"

namespace vesk {

void KeepFreedGLMemory() {}

}  // namespace vesk
