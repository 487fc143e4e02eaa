// vesk-embed: stores a file's bytes in a program built by any build system.
//
//   vesk-embed [--c | --pe64 | --pe32] SYMBOL FILE OUTDIR
//
// writes OUTDIR/SYMBOL.s, an assembly source that pulls in FILE's exact
// bytes (followed by one 0 byte the size does not count), and
// OUTDIR/embedded/SYMBOL.h, which declares
//
//   const unsigned char* vesk::embedded::SYMBOL_data();
//   std::uint32_t        vesk::embedded::SYMBOL_size();
//
// Compile the .s with the program and put OUTDIR on its include path. FILE is
// read only when the .s is assembled, so it may be made later; a relative
// FILE is taken from the current folder. --c writes OUTDIR/SYMBOL.c instead,
// the same directives as inline assembly for toolchains that assemble no
// stand-alone sources; --pe64 and --pe32 write the .s for a 64-bit or 32-bit
// Windows program. A file is rewritten only when its text changes, so a
// second run does not make the build assemble large files again.
#include "embed/embed_sources.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace vesk::embed;

constexpr const char* kUsage = "usage: vesk-embed [--c | --pe64 | --pe32] SYMBOL FILE OUTDIR\n";

struct TRequest {
    TAssemblyForm form = TAssemblyForm::Assembly;
    std::string symbol;
    fs::path file;
    fs::path outDir;
};

// Empty symbol when the arguments are not a request.
TRequest ParseArguments(const std::vector<std::string>& arguments) {
    TRequest request;
    std::vector<std::string> rest;
    for (const std::string& argument : arguments) {
        if (argument == "--c") request.form = TAssemblyForm::CSource;
        else if (argument == "--pe64") request.form = TAssemblyForm::Pe64;
        else if (argument == "--pe32") request.form = TAssemblyForm::Pe32;
        else rest.push_back(argument);
    }
    if (rest.size() != 3) return {};
    request.symbol = rest[0];
    request.file = rest[1];
    request.outDir = rest[2];
    return request;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Writes the text unless the file already holds it; false when it cannot.
bool WriteIfChanged(const fs::path& path, const std::string& text) {
    std::error_code error;
    if (fs::exists(path, error) && ReadText(path) == text) return true;
    fs::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (out) return true;
    std::fprintf(stderr, "vesk-embed: cannot write %s\n", path.string().c_str());
    return false;
}

int Run(const TRequest& request) {
    if (!IsIdentifier(request.symbol)) {
        std::fprintf(stderr, "vesk-embed: '%s' is not a C identifier\n", request.symbol.c_str());
        return 2;
    }
    // The path goes into a quoted assembler string and a comment line. One
    // with a root directory stays as given: a Windows build made on another
    // system runs this command under an emulator, where "/work/x" made
    // absolute would name a drive ("Z:\work\x") that the assembler cannot
    // open. Forward slashes suit both systems' assemblers.
    const fs::path file = request.file.has_root_directory() ? request.file : fs::absolute(request.file);
    const std::string path = file.lexically_normal().generic_string();
    if (path.find_first_of("\n\r") != std::string::npos) {
        std::fprintf(stderr, "vesk-embed: the file's path holds a line end\n");
        return 2;
    }
    const bool inC = request.form == TAssemblyForm::CSource;
    const fs::path source = request.outDir / (request.symbol + (inC ? ".c" : ".s"));
    const fs::path header = request.outDir / "embedded" / (request.symbol + ".h");
    const bool written = WriteIfChanged(source, AssemblySource(request.symbol, path, request.form)) &&
                         WriteIfChanged(header, HeaderSource(request.symbol, path));
    return written ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const TRequest request = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (request.symbol.empty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    return Run(request);
}
