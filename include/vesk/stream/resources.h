// The table of resources stored inside the executable, by name. Names are
// compared exactly (same 16-bit codes, case and slashes significant); the
// first registration of a name wins. The bytes are never copied or written.
#pragma once

#include <cstdint>
#include <string_view>

#include <vesk/runtime/text.h>

namespace vesk {

// True when the entry was added, false when the name was already present.
bool RegisterResource(const Text& name, const void* data, std::uint32_t size);
// Null when no entry has this name.
const void* ResourceData(const Text& name);
// 0 when no entry has this name.
std::uint32_t ResourceSize(const Text& name);
// Done with this resource for now: the executable's pages of it go back to
// the system. They are file-backed, so reading the resource again brings
// them back with the same bytes. Nothing happens for an unknown name or for
// bytes that do not live in a read-only file mapping.
void ReleaseResourcePages(const Text& name);

// The same, with the name given as UTF-8.
bool RegisterResource(std::string_view name, const void* data, std::uint32_t size);
const void* ResourceData(std::string_view name);
std::uint32_t ResourceSize(std::string_view name);
void ReleaseResourcePages(std::string_view name);

}  // namespace vesk
