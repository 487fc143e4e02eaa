// The generators make the same bytes on every run: the assets in the build
// are reproduced exactly by running the tools again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "asset_bytes.h"

namespace vesk::assettest {
namespace {

std::string Rerun(const char* tool, const std::string& source, const std::string& name) {
    std::filesystem::path out = std::filesystem::temp_directory_path() /
                                ("vesk_asset_rerun_" + std::to_string(::getpid()) + "_" + name);
    std::string command =
        std::string("\"") + tool + "\" \"" + source + "\" \"" + out.string() + "\"";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return out.string();
}

void ExpectSameBytes(const char* tool, const std::string& source, const char* built) {
    SCOPED_TRACE(tool);
    std::string again = Rerun(tool, source, std::filesystem::path(built).filename().string());
    Bytes a = ReadFileBytes(built), b = ReadFileBytes(again);
    std::filesystem::remove(again);
    ASSERT_FALSE(a.empty());
    EXPECT_TRUE(a == b);
}

TEST(Determinism, RunningTheGeneratorsAgainGivesIdenticalBytes) {
    const std::string sources = VESK_ASSET_SOURCES;
    ExpectSameBytes(VESK_MAKE_LOGO, sources + "/logo/torvel.txt", VESK_ASSET_PICTURE);
    ExpectSameBytes(VESK_MAKE_FONT, sources + "/font/glyphs.txt", VESK_ASSET_FONT_SHEET);
    ExpectSameBytes(VESK_MAKE_MUSIC, sources + "/music/score.txt", VESK_ASSET_MUSIC);
}

TEST(Determinism, GeneratorsRejectAMissingSource) {
    const std::string out =
        (std::filesystem::temp_directory_path() / "vesk_asset_never_written").string();
    for (const char* tool : {VESK_MAKE_LOGO, VESK_MAKE_FONT, VESK_MAKE_MUSIC}) {
        std::string command =
            std::string("\"") + tool + "\" /nonexistent/source.txt \"" + out + "\" 2>/dev/null";
        EXPECT_NE(std::system(command.c_str()), 0) << tool;
        EXPECT_FALSE(std::filesystem::exists(out)) << tool;
    }
}

}  // namespace
}  // namespace vesk::assettest
