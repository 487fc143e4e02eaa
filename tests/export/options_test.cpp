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
    // A name that looks like an option goes after "--".
    EXPECT_EQ(Parse({"--", "--odd.mp4"}).options.output, "--odd.mp4");
}

TEST(ExportOptions, HelpNeedsNoOutput) {
    EXPECT_TRUE(Parse({"--crf", "20", "-h"}).options.help);
    EXPECT_TRUE(Parse({"--help"}).options.help);
    EXPECT_NE(ExportUsage().find("--from N"), std::string::npos);
}

TEST(ExportOptions, RefusesWhatCannotMakeAVideo) {
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{}, "no output file given"},
        {{"a.mp4", "b.mp4"}, "more than one output file given"},
        {{"--frames", "3", "a.mp4"}, "unknown option --frames"},
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
