// The partial file's name beside the final one.
#include "export/partial_output.h"

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(PartialFileName, IsShortenedToFitWithoutSplittingACharacter) {
    EXPECT_EQ(PartialFileName("intro.mp4", "42", 255), "intro.mp4.part-42");
    const std::string longName = std::string(250, 'a') + ".mp4";
    const std::string partial = PartialFileName(longName, "123456", 255);
    EXPECT_EQ(partial.size(), 255u);
    EXPECT_EQ(partial.substr(0, 10), longName.substr(0, 10));
    EXPECT_EQ(partial.substr(partial.size() - 12), ".part-123456");
    // Two long names that differ only at their end still get different names.
    EXPECT_NE(PartialFileName(std::string(250, 'a') + ".mkv", "123456", 255), partial);
    // "é" is two bytes; a cut through it would leave half a character.
    std::string accents;
    for (int i = 0; i < 120; ++i) accents += "\xc3\xa9";
    const std::string cut = PartialFileName(accents, "1", 40);
    EXPECT_LE(cut.size(), 40u);
    EXPECT_EQ(cut.find('~') % 2, 0u) << cut;
}

}  // namespace
}  // namespace vesk
