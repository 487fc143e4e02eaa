// Linux: the mappings come from /proc/self/smaps, the pages go with
// madvise(MADV_DONTNEED). For a private file mapping that drops the
// process's reference to the page-cache pages; a page the process had
// written would lose its bytes, which is why only mappings without a single
// anonymous (copied-on-write) page qualify.
#include "stream/resource_pages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace vesk {
namespace {

struct TMapping {
    std::uintptr_t start = 0;
    std::uintptr_t end = 0;
    bool readOnlyFile = false;
    bool written = false;
};

// A mapping's first line: "start-end perms offset device inode [path]".
bool ParseMappingLine(const std::string& line, TMapping& mapping) {
    unsigned long start = 0, end = 0, inode = 0;
    char perms[5] = {};
    if (std::sscanf(line.c_str(), "%lx-%lx %4s %*s %*s %lu", &start, &end, perms, &inode) != 4) return false;
    mapping = {start, end, perms[1] != 'w' && inode != 0, false};
    return true;
}

std::vector<TMapping> ReadMappings() {
    std::vector<TMapping> mappings;
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    TMapping mapping;
    while (std::getline(smaps, line)) {
        if (ParseMappingLine(line, mapping)) {
            mappings.push_back(mapping);
        } else if (!mappings.empty() && line.rfind("Anonymous:", 0) == 0) {
            unsigned long kilobytes = 0;
            std::sscanf(line.c_str(), "Anonymous: %lu", &kilobytes);
            mappings.back().written = kilobytes != 0;
        }
    }
    return mappings;
}

// The mappings found fit, kept: a read-only file mapping stays one (nothing
// can write to it without first making it writeable), and a resource read
// on in steps asks about the same mapping again and again, while reading
// the map of a process that has a GL driver loaded takes milliseconds.
class TFitMappings {
public:
    bool Covers(std::uintptr_t first, std::uintptr_t last) {
        std::lock_guard<std::mutex> lock(lock_);
        return std::any_of(fit_.begin(), fit_.end(),
                           [&](const TMapping& m) { return m.start <= first && last <= m.end; });
    }
    void Keep(const TMapping& mapping) {
        std::lock_guard<std::mutex> lock(lock_);
        fit_.push_back(mapping);
    }

private:
    std::mutex lock_;
    std::vector<TMapping> fit_;
};

TFitMappings& FitMappings() {
    static TFitMappings& fit = *new TFitMappings;
    return fit;
}

void DropPages(std::uintptr_t from, std::uintptr_t to) {
    if (from < to) madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

}  // namespace

void ReleaseFilePages(const void* data, std::size_t size) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + page - 1) / page * page;
    const std::uintptr_t last = (begin + size) / page * page;
    if (!data || first >= last) return;
    if (FitMappings().Covers(first, last)) {
        DropPages(first, last);
        return;
    }
    for (const TMapping& mapping : ReadMappings()) {
        if (!mapping.readOnlyFile || mapping.written) continue;
        const std::uintptr_t from = std::max(first, mapping.start);
        const std::uintptr_t to = std::min(last, mapping.end);
        if (from >= to) continue;
        FitMappings().Keep(mapping);
        DropPages(from, to);
    }
}

}  // namespace vesk
