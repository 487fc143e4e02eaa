// The text of the two files that store a file's bytes in a program: an
// assembly source that pulls the bytes in with the assembler's .incbin
// directive, and a header that declares their address and size. vesk-embed
// writes them; the CMake function vesk_embed_file runs vesk-embed.
#pragma once

#include <string>

namespace vesk::embed {

// The assembly as a stand-alone ELF source, as inline assembly in a C
// source for toolchains that assemble no stand-alone sources (the web's), or
// as a stand-alone source for a 64-bit or 32-bit Windows (PE) image.
enum class TAssemblyForm { Assembly, CSource, Pe64, Pe32 };

// Whether the symbol can name C labels and functions.
bool IsIdentifier(const std::string& symbol);

// `path` is written into the source as given; callers pass an absolute path,
// since the assembler resolves a relative one against its own folder.
std::string AssemblySource(const std::string& symbol, const std::string& path, TAssemblyForm form);
std::string HeaderSource(const std::string& symbol, const std::string& path);

}  // namespace vesk::embed
