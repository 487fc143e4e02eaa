// In a browser the resources lie in the module's linear memory, which never
// shrinks and has no file behind it to fetch pages from again: nothing can be
// given back, and nothing is.
#include "stream/resource_pages.h"

namespace vesk {

void ReleaseFilePages(const void*, std::size_t) {}

}  // namespace vesk
