// Giving back the memory pages of data that a file already holds, such as
// resources inside the executable once they have been read.
#pragma once

#include <cstddef>

namespace vesk {

// Drops the pages lying wholly inside [data, data + size) from the process's
// memory when they belong to a read-only file mapping that the process never
// wrote to: the next read faults them in again from the file, unchanged.
// Pages of any other memory, and the partial pages at either end, are left
// alone, so no byte can change.
void ReleaseFilePages(const void* data, std::size_t size);

}  // namespace vesk
