// The export's command line.
#include "export/export_options.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TParsedOptions Parse(std::vector<std::string> arguments) { return ParseExportOptions(arguments); }

TEST(ExportOptions, AnOutputAloneExportsTheWholeShowAtTheDefaultQuality) {
    const TParsedOptions parsed = Parse({"intro.mp4"});
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.output, "intro.mp4");
    EXPECT_EQ(parsed.options.firstFrame, 0);
    EXPECT_FALSE(parsed.options.endFrame);
    EXPECT_EQ(parsed.options.crf, 18);
    EXPECT_EQ(parsed.options.preset, "faster");
}

TEST(ExportOptions, TakesValuesAfterASpaceOrAnEqualsSign) {
    const TParsedOptions parsed = Parse({"--from", "100", "--to=250", "--crf=23", "--preset", "fast", "a.mp4"});
    ASSERT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.firstFrame, 100);
    EXPECT_EQ(parsed.options.endFrame, 250);
    EXPECT_EQ(parsed.options.crf, 23);
    EXPECT_EQ(parsed.options.preset, "fast");
    EXPECT_EQ(parsed.options.output, "a.mp4");
}

// "--" ends the options for good, so every name after it is a file name,
// however much it looks like an option.
TEST(ExportOptions, NamesAfterADoubleDashAreFileNames) {
    EXPECT_EQ(Parse({"--", "--odd.mp4"}).options.output, "--odd.mp4");
    const TParsedOptions parsed = Parse({"--to", "50", "--", "-v"});
    EXPECT_EQ(parsed.error, "");
    EXPECT_EQ(parsed.options.output, "-v");
    EXPECT_EQ(parsed.options.endFrame, 50);
    EXPECT_EQ(Parse({"--", "a.mp4", "--to", "50"}).error, "more than one output file given");
    EXPECT_FALSE(Parse({"--", "-h"}).options.help);
    EXPECT_EQ(Parse({"-"}).options.output, "-");
}

TEST(ExportOptions, HelpNeedsNoOutput) {
    EXPECT_TRUE(Parse({"--crf", "20", "-h"}).options.help);
    EXPECT_TRUE(Parse({"--help"}).options.help);
    EXPECT_NE(ExportUsage().find("--from N"), std::string::npos);
    // The clock moves on before a frame is drawn, so frame 0 is already 1/50 s in.
    EXPECT_NE(ExportUsage().find("frame N shows the show\n                 at (N+1)/50 s"), std::string::npos);
}

TEST(ExportOptions, RefusesWhatCannotMakeAVideo) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no output file given"},
        {{"a.mp4", "b.mp4"}, "more than one output file given"},
        {{"--frames", "3", "a.mp4"}, "unknown option --frames"},
        {{"-v", "a.mp4"}, "unknown option -v"},
        {{"a.mp4", "-o"}, "unknown option -o"},
        {{"a.mp4", "--to"}, "--to needs a value"},
        {{"--to", "2s", "a.mp4"}, "--to needs a whole number, not '2s'"},
        {{"--to", "99999999999", "a.mp4"}, "--to needs a whole number, not '99999999999'"},
        {{"--from", "-1", "a.mp4"}, "--from cannot be negative"},
        {{"--from", "50", "--to", "50", "a.mp4"}, "--to must be after --from"},
        {{"--crf", "52", "a.mp4"}, "--crf must be between 0 and 51"},
        {{"--preset", "quick", "a.mp4"}, "unknown preset 'quick' (ultrafast ... veryslow)"},
    };
    for (const auto& [arguments, error] : cases) EXPECT_EQ(Parse(arguments).error, error);
}

}  // namespace
}  // namespace vesk
