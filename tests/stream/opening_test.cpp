// Opening by name: the split at "::", the file fallback, the "incbin"
// protocol over the resource table, fixed memory streams and the
// whole-stream conveniences.
#include <gtest/gtest.h>

#include <fstream>

#include <vesk/stream/file_stream.h>
#include <vesk/stream/opening.h>
#include <vesk/stream/resources.h>
#include "stream_test_util.h"

namespace vesk {
namespace {

using test::PathText;
using test::TTempFolder;

class Opening : public ::testing::Test {
protected:
    void SetUp() override { InitStreamModule(); }
};

std::vector<std::uint8_t> Pattern(std::size_t size) {
    std::vector<std::uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 13 + 1);
    return bytes;
}

TEST_F(Opening, IncbinServesRegisteredResourcesReadOnly) {
    static const char music[] = "RIFF\x10\0\0\0WAVE";
    ASSERT_TRUE(RegisterResource(u"\\basic\\intro.wav", music, sizeof music - 1));

    TStreamRef stream = OpenForReading(u"incbin::\\basic\\intro.wav");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Position(), 0);
    EXPECT_EQ(stream->Size(), 12);
    EXPECT_EQ(stream->ReadText(4), u"RIFF");
    std::uint8_t byte = 0;
    EXPECT_EQ(stream->Write(&byte, 1), 0);

    EXPECT_EQ(OpenForWriting(u"incbin::\\basic\\intro.wav"), nullptr);
    EXPECT_EQ(OpenUrlStream(u"incbin::\\basic\\intro.wav", true, true), nullptr);
}

TEST_F(Opening, ResourceNamesAndProtocolAreExact) {
    static const char data[] = "x";
    RegisterResource(u"\\basic\\exact.wav", data, 1);
    EXPECT_EQ(OpenForReading(u"incbin::\\basic\\EXACT.WAV"), nullptr);
    EXPECT_EQ(OpenForReading(u"incbin::/basic/exact.wav"), nullptr);
    EXPECT_EQ(OpenForReading(u"INCBIN::\\basic\\exact.wav"), nullptr);
    EXPECT_EQ(OpenForReading(u" incbin::\\basic\\exact.wav"), nullptr);
    EXPECT_EQ(OpenForReading(u"incbin::\\basic\\never.wav"), nullptr);
}

TEST_F(Opening, SecondSeparatorStaysInTheResourceName) {
    static const char data[] = "ab";
    RegisterResource(u"a::b", data, 2);
    TStreamRef stream = OpenForReading(u"incbin::a::b");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 2);
}

TEST_F(Opening, FirstRegistrationWins) {
    static const char first[] = "first";
    static const char second[] = "second!";
    EXPECT_TRUE(RegisterResource(u"\\basic\\twice.wav", first, 5));
    EXPECT_FALSE(RegisterResource(u"\\basic\\twice.wav", second, 7));
    EXPECT_EQ(ResourceData(u"\\basic\\twice.wav"), first);
    EXPECT_EQ(ResourceSize(u"\\basic\\twice.wav"), 5u);
    EXPECT_TRUE(RegisterResource(u"\\basic\\INTRO.wav", second, 7));
    EXPECT_EQ(ResourceData(u"unregistered"), nullptr);
    EXPECT_EQ(ResourceSize(u"unregistered"), 0u);
}

TEST_F(Opening, NamesWithoutSeparatorAreFiles) {
    TTempFolder folder;
    std::ofstream(folder / "plain.bin", std::ios::binary) << "data";
    TStreamRef stream = OpenForReading(PathText(folder / "plain.bin"));
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 4);
    stream->Close();
    EXPECT_EQ(OpenForReading(PathText(folder / "none.bin")), nullptr);
}

// A name with "::" never falls back to the disk, even when such a file exists.
TEST_F(Opening, UnknownProtocolGivesNullEvenWhenTheFileExists) {
#if defined(_WIN32)
    GTEST_SKIP() << "a Windows file name cannot hold \"::\"";
#endif
    TTempFolder folder;
    std::filesystem::current_path(folder.Path());
    std::ofstream("nope::thing", std::ios::binary) << "data";
    ASSERT_TRUE(std::filesystem::exists("nope::thing"));
    EXPECT_EQ(OpenForReading(u"nope::thing"), nullptr);
    EXPECT_EQ(OpenForReading(u"::thing"), nullptr);
}

TEST_F(Opening, EmptyNameAndNullObjectGiveNull) {
    EXPECT_EQ(OpenForReading(Text()), nullptr);
    EXPECT_EQ(OpenForWriting(Text()), nullptr);
    EXPECT_EQ(OpenForReading(TUrl()), nullptr);
    EXPECT_EQ(OpenForReading(TStreamRef()), nullptr);
}

TEST_F(Opening, OpenStreamComesBackBorrowedWhateverTheFlags) {
    auto original = test::StreamOver({1, 2, 3});
    original->Seek(1);
    TStreamRef view = OpenForWriting(original);
    ASSERT_NE(view, nullptr);
    EXPECT_NE(view, original);
    EXPECT_EQ(view->ReadU8(), 2);
    view->Close();
    EXPECT_EQ(original->Position(), 2);
    EXPECT_EQ(original->ReadU8(), 3);
}

// Later openers are asked first; openers ignore what they do not serve.
TEST_F(Opening, NewerOpenersAreAskedFirst) {
    class TEchoOpener : public TStreamOpener {
    public:
        Text seenProtocol, seenPath;
        TStreamRef Open(const TUrl&, const Text& protocol, const Text& path, bool,
                        bool) override {
            seenProtocol = protocol;
            seenPath = path;
            return protocol == u"echo" ? test::StreamOver({42}) : nullptr;
        }
    };
    static TEchoOpener echo;
    TStreamRef stream = OpenForReading(u"echo::a::b");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->ReadU8(), 42);
    EXPECT_EQ(echo.seenPath, u"a::b");
    EXPECT_EQ(OpenForReading(u"other::x"), nullptr);
    EXPECT_EQ(echo.seenProtocol, u"other");
}

TEST(FixedMemoryStream, SeekClampsAndTransfersStopAtTheSize) {
    std::uint8_t block[50] = {};
    auto stream = OpenMemoryBlock(block, 50, true, true);
    EXPECT_EQ(stream->Seek(-5), 0);
    EXPECT_EQ(stream->Seek(60), 50);
    EXPECT_TRUE(stream->AtEnd());

    stream->Seek(20);
    std::uint8_t bytes[100];
    std::fill(std::begin(bytes), std::end(bytes), 0xAB);
    EXPECT_EQ(stream->Write(bytes, 100), 30);
    EXPECT_EQ(stream->Write(bytes, 100), 0);
    EXPECT_EQ(block[49], 0xAB);
    EXPECT_EQ(block[19], 0);
    EXPECT_THROW(stream->WriteU8(1), TStreamWriteError);

    stream->Seek(20);
    EXPECT_EQ(stream->Read(bytes, 100), 30);
    EXPECT_EQ(stream->Read(bytes, 100), 0);
    EXPECT_EQ(stream->Read(bytes, -1), 0);
}

TEST_F(Opening, LoadBytesReadsEverythingThroughTheGrowingArray) {
    for (std::size_t size : {0u, 1u, 1024u, 1025u, 1536u, 3000u}) {
        std::vector<std::uint8_t> bytes = Pattern(size);
        auto stream = OpenMemoryBlock(bytes.data(), static_cast<std::int32_t>(size), true, false);
        EXPECT_EQ(LoadBytes(stream), bytes) << size;
    }
}

TEST_F(Opening, WholeFilesRoundTrip) {
    TTempFolder folder;
    Text name = PathText(folder / "whole.bin");
    std::vector<std::uint8_t> bytes = Pattern(5000);
    SaveBytes(bytes, name);
    EXPECT_EQ(LoadBytes(name), bytes);

    WriteWholeText(u"caf\u00E9\r\n\u263A", name);
    EXPECT_EQ(LoadBytes(name), (std::vector<std::uint8_t>{'c', 'a', 'f', 0xE9, 13, 10, 0x3A}));
    EXPECT_EQ(ReadWholeText(name), u"caf\u00E9\r\n:");
}

// A program writes its names as UTF-8 string literals; they name the same
// files and resources as the engine text of the same characters.
TEST_F(Opening, NamesGivenAsUtf8OpenWhatTheirTextOpens) {
    TTempFolder folder;
    const std::string name = (folder / "caf\xC3\xA9.bin").string();
    SaveBytes(Pattern(10), name);
    EXPECT_EQ(LoadBytes(name.c_str()), Pattern(10));
    EXPECT_EQ(LoadBytes(Utf8ToText(name)), Pattern(10));
    EXPECT_TRUE(TFileStream::OpenFile(std::string_view(name), true, false));

    static const char bytes[] = "abc";
    ASSERT_TRUE(RegisterResource("\\utf8\\r\xC3\xA9sum\xC3\xA9", bytes, 3));
    EXPECT_EQ(ResourceSize(u"\\utf8\\r\u00E9sum\u00E9"), 3u);
    TStreamRef resource = OpenForReading("incbin::\\utf8\\r\xC3\xA9sum\xC3\xA9");
    ASSERT_TRUE(resource);
    EXPECT_EQ(resource->Size(), 3);
}

TEST_F(Opening, WholeStreamFunctionsTolerateNamesThatDoNotOpen) {
    TTempFolder folder;
    Text missing = PathText(folder / "no" / "such.bin");
    EXPECT_TRUE(LoadBytes(missing).empty());
    EXPECT_TRUE(ReadWholeText(missing).empty());
    SaveBytes({1, 2, 3}, missing);
    WriteWholeText(u"abc", missing);
    SaveBytes({1}, u"incbin::anything");
    EXPECT_FALSE(std::filesystem::exists(folder / "no"));
}

}  // namespace
}  // namespace vesk
