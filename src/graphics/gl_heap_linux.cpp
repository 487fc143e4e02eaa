// Heap tuning for the software GL of Linux desktops and test machines. A
// draw that follows a texture switch makes the GL allocate and free a large
// scratch block; glibc hands the freed top of the heap back to the system
// every time and the next switch faults it in again, page by page. With the
// intro's 104 picture rows, each on its own texture, that churn cost more
// than the drawing itself (3.5 ms a frame instead of 1.5 ms). Keeping up to
// 32 MB of freed memory in the heap stops it.
#include "graphics/gl_heap.h"

#include <cstdlib>  // defines __GLIBC__ on glibc systems

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace vesk {

void KeepFreedGLMemory() {
#if defined(__GLIBC__)
    mallopt(M_TRIM_THRESHOLD, 32 << 20);
#endif
}

}  // namespace vesk
