// Windows: the executable's read-only sections are mapped from its file, so
// their pages can leave the process's working set and come back from the
// file, unchanged, on the next read. Unlocking pages that were never locked
// takes them out of the working set; the call reports that they were not
// locked, which is expected. Only pages of the image that are read-only,
// and so can never have been written, are touched; other memory, and the
// partial pages at either end, are left alone.
#include "stream/resource_pages.h"

#include <algorithm>
#include <cstdint>

#include <windows.h>

namespace vesk {
namespace {

bool ReadOnlyImagePages(const MEMORY_BASIC_INFORMATION& region) {
    return region.State == MEM_COMMIT && region.Type == MEM_IMAGE && region.Protect == PAGE_READONLY;
}

}  // namespace

void ReleaseFilePages(const void* data, std::size_t size) {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const std::uintptr_t page = system.dwPageSize;
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    std::uintptr_t from = (begin + page - 1) / page * page;
    const std::uintptr_t last = (begin + size) / page * page;
    if (!data) return;
    while (from < last) {
        MEMORY_BASIC_INFORMATION region{};
        if (VirtualQuery(reinterpret_cast<const void*>(from), &region, sizeof(region)) == 0) return;
        const std::uintptr_t regionEnd = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize;
        const std::uintptr_t to = std::min(last, regionEnd);
        if (ReadOnlyImagePages(region)) VirtualUnlock(reinterpret_cast<void*>(from), to - from);
        from = to;
    }
}

}  // namespace vesk
