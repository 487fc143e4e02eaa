// The embedded-resource table: newest entry first, never shrinking.
#include <vesk/stream/resources.h>

#include "stream/resource_pages.h"

#include <memory>

namespace vesk {

namespace {

struct EmbeddedResource {
    Text name;
    const void* data;
    std::uint32_t size;
    std::unique_ptr<EmbeddedResource> next;
};

std::unique_ptr<EmbeddedResource> newest;

const EmbeddedResource* FindResource(const Text& name) {
    for (const EmbeddedResource* entry = newest.get(); entry; entry = entry->next.get())
        if (entry->name == name) return entry;
    return nullptr;
}

}  // namespace

bool RegisterResource(const Text& name, const void* data, std::uint32_t size) {
    if (FindResource(name)) return false;
    newest = std::make_unique<EmbeddedResource>(EmbeddedResource{name, data, size, std::move(newest)});
    return true;
}

const void* ResourceData(const Text& name) {
    const EmbeddedResource* entry = FindResource(name);
    return entry ? entry->data : nullptr;
}

std::uint32_t ResourceSize(const Text& name) {
    const EmbeddedResource* entry = FindResource(name);
    return entry ? entry->size : 0;
}

void ReleaseResourcePages(const Text& name) {
    if (const EmbeddedResource* entry = FindResource(name)) ReleaseFilePages(entry->data, entry->size);
}

bool RegisterResource(std::string_view name, const void* data, std::uint32_t size) {
    return RegisterResource(Utf8ToText(name), data, size);
}
const void* ResourceData(std::string_view name) { return ResourceData(Utf8ToText(name)); }
std::uint32_t ResourceSize(std::string_view name) { return ResourceSize(Utf8ToText(name)); }
void ReleaseResourcePages(std::string_view name) { ReleaseResourcePages(Utf8ToText(name)); }

}  // namespace vesk
