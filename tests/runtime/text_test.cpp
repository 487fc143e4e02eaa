#include <vesk/runtime/text.h>

#include <gtest/gtest.h>

namespace vesk {
namespace {

TEST(Text, BytesMapToCodesOneToOneAndBackThroughTheLow8Bits) {
    std::string bytes = {'A', '\0', static_cast<char>(0xE9), static_cast<char>(0xFF)};
    Text text = BytesToText(bytes);
    EXPECT_EQ(text, (Text{u'A', 0, 0xE9, 0xFF}));
    EXPECT_EQ(TextToBytes(text), bytes);
    EXPECT_EQ(TextToBytes(Text{0x141, 0x20AC}), std::string("\x41\xAC"));
}

TEST(Text, Utf8RoundTripsThroughSurrogatePairs) {
    const std::string utf8 = "d\xC3\xA9j\xC3\xA0 \xE2\x82\xAC \xF0\x9F\x8E\xB5";
    Text text = Utf8ToText(utf8);
    EXPECT_EQ(text, (Text{u'd', 0xE9, u'j', 0xE0, u' ', 0x20AC, u' ', 0xD83C, 0xDFB5}));
    EXPECT_EQ(TextToUtf8(text), utf8);
}

TEST(Text, MalformedInputBecomesReplacementCharacters) {
    EXPECT_EQ(Utf8ToText("\xC3"), Text(1, 0xFFFD));          // cut short
    EXPECT_EQ(Utf8ToText("\xC0\xAF"), Text(1, 0xFFFD));      // overlong slash
    EXPECT_EQ(Utf8ToText("\xED\xA0\x80"), Text(1, 0xFFFD));  // encoded surrogate
    EXPECT_EQ(TextToUtf8(Text{0xD800, u'x'}), "\xEF\xBF\xBDx");
}

TEST(Text, LowerAsciiFoldsOnlyAsciiLetters) {
    EXPECT_EQ(LowerAscii(u"INCBIN::\u00C9"), u"incbin::\u00C9");
    EXPECT_EQ(NumberText(-132000), u"-132000");
}

}  // namespace
}  // namespace vesk
