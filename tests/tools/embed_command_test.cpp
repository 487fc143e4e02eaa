// vesk-embed writes an assembly source and a header for a file. Paths reach
// the assembler inside a quoted string, and a second run must leave the
// files alone, or every build would assemble large files again.
#include "embed/embed_sources.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace vesk::embed {
namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int RunCommand(const std::string& arguments) {
    const int status = std::system((std::string(VESK_EMBED_COMMAND) + " " + arguments + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(EmbedSources, QuotePathsForTheAssemblerAndTheCCompiler) {
    const std::string path = R"(/data/a "b"\c @symbol@.bin)";
    const std::string assembly = AssemblySource("pic", path, TAssemblyForm::Assembly);
    EXPECT_NE(assembly.find(R"(.incbin "/data/a \"b\"\\c @symbol@.bin")"), std::string::npos) << assembly;
    EXPECT_NE(assembly.find("vesk_embed_pic_begin:"), std::string::npos);
    // In C the assembler's string sits in a string literal: escaped twice.
    const std::string inC = AssemblySource("pic", path, TAssemblyForm::CSource);
    EXPECT_NE(inC.find(R"(".incbin \"/data/a \\\"b\\\"\\\\c @symbol@.bin\"\n")"), std::string::npos) << inC;
    const std::string header = HeaderSource("pic", path);
    EXPECT_NE(header.find("inline const unsigned char* pic_data()"), std::string::npos);
    EXPECT_NE(header.find("inline std::uint32_t pic_size()"), std::string::npos);
}

// A PE object knows no ELF symbol types, sizes or notes (the assembler
// refuses them), and 32-bit Windows puts an underscore before C names.
TEST(EmbedSources, WindowsFormsUseReadOnlyDataAndTheirOwnLabels) {
    const std::string wide = AssemblySource("pic", "/data/pic.bin", TAssemblyForm::Pe64);
    EXPECT_NE(wide.find(".section .rdata$vesk_embed_pic,\"dr\""), std::string::npos) << wide;
    EXPECT_NE(wide.find("\nvesk_embed_pic_begin:"), std::string::npos) << wide;
    for (const char* elfOnly : {".type", ".size", ".note", "%progbits"})
        EXPECT_EQ(wide.find(elfOnly), std::string::npos) << elfOnly;
    const std::string narrow = AssemblySource("pic", "/data/pic.bin", TAssemblyForm::Pe32);
    EXPECT_NE(narrow.find(".globl _vesk_embed_pic_end"), std::string::npos) << narrow;
    EXPECT_NE(narrow.find("\n_vesk_embed_pic_begin:"), std::string::npos) << narrow;
}

TEST(EmbedSources, SymbolsAreCIdentifiers) {
    EXPECT_TRUE(IsIdentifier("coin_tga"));
    EXPECT_TRUE(IsIdentifier("_x9"));
    for (const char* bad : {"", "9lives", "coin.tga", "coin-tga", "a b"}) EXPECT_FALSE(IsIdentifier(bad)) << bad;
}

TEST(EmbedCommand, WritesBothFilesOnceAndRefusesABadSymbol) {
    test::TTempFolder folder;
    ASSERT_FALSE(folder.Path().empty());
    const fs::path out = folder / "out";
    const std::string file = (folder / "coin.tga").string();
    ASSERT_EQ(RunCommand("coin_tga " + file + " " + out.string()), 0);
    const fs::path assembly = out / "coin_tga.s";
    const fs::path header = out / "embedded" / "coin_tga.h";
    EXPECT_NE(ReadText(assembly).find(".incbin \"" + file + "\""), std::string::npos);
    EXPECT_EQ(ReadText(header), HeaderSource("coin_tga", file));

    // Unchanged text is not written again.
    const auto written = fs::last_write_time(assembly);
    fs::last_write_time(assembly, written - std::chrono::hours(1));
    ASSERT_EQ(RunCommand("coin_tga " + file + " " + out.string()), 0);
    EXPECT_EQ(fs::last_write_time(assembly), written - std::chrono::hours(1));

    EXPECT_EQ(RunCommand("coin.tga " + file + " " + out.string()), 2);
    EXPECT_EQ(RunCommand("too few"), 2);
    EXPECT_FALSE(fs::exists(out / "coin.tga.s"));
}

}  // namespace
}  // namespace vesk::embed
