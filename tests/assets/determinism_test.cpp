// The generators make the same bytes on every run: the assets in the build
// are reproduced exactly by running the tools again.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// A generator that cannot read its source, or finds a mistake in it, fails
// the build and leaves no file behind that would look up to date.
bool RejectsSource(const char* tool, const std::string& text) {
    const auto dir = std::filesystem::temp_directory_path();
    const std::string tag = std::to_string(::getpid());
    const std::string source = (dir / ("vesk_bad_source_" + tag + ".txt")).string();
    const std::string out = (dir / ("vesk_bad_output_" + tag)).string();
    std::ofstream(source) << text;
    std::string command =
        std::string("\"") + tool + "\" \"" + source + "\" \"" + out + "\" 2>/dev/null";
    bool failed = std::system(command.c_str()) != 0;
    bool wrote = std::filesystem::exists(out);
    std::filesystem::remove(source);
    std::filesystem::remove(out);
    return failed && !wrote;
}

TEST(Determinism, GeneratorsRejectMissingOrBrokenSources) {
    for (const char* tool : {VESK_MAKE_LOGO, VESK_MAKE_FONT, VESK_MAKE_MUSIC}) {
        std::string command =
            std::string("\"") + tool + "\" /nonexistent/source.txt /dev/null 2>&1";
        EXPECT_NE(std::system((command + " >/dev/null").c_str()), 0) << tool;
    }
    EXPECT_TRUE(RejectsSource(VESK_MAKE_LOGO, "word TO\nletter T\n##\n"));      // no art for O
    EXPECT_TRUE(RejectsSource(VESK_MAKE_FONT, "size 12 11\nglyph A\n.##.\n"));  // row too short
    EXPECT_TRUE(
        RejectsSource(VESK_MAKE_MUSIC, "frames 44100\nsection a at 0 beats 4\n  drums missing\n"));
    EXPECT_TRUE(RejectsSource(VESK_MAKE_MUSIC,
                              "frames 44100\nsection a at 0 beats 4\n  chords Hm\n  pad held\n"));
    EXPECT_TRUE(
        RejectsSource(VESK_MAKE_MUSIC, "frames 44100\nlevel kik 1\nsection a at 0 beats 4\n"));
}

}  // namespace
}  // namespace vesk::assettest
