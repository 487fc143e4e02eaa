// File streams in a temporary folder: modes, sizes and positions, seeking,
// closing, and backslashes in names.
#include <gtest/gtest.h>

#include <fstream>

#include <vesk/stream/file_stream.h>
#include "stream_test_util.h"

namespace vesk {
namespace {

using test::PathText;
using test::TTempFolder;

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(FileModes, MissingFileOpensOnlyForWritingAlone) {
    TTempFolder folder;
    Text missing = PathText(folder / "missing.bin");
    EXPECT_EQ(TFileStream::OpenFile(missing, true, true), nullptr);
    EXPECT_EQ(TFileStream::OpenFile(missing, true, false), nullptr);
    EXPECT_EQ(TFileStream::OpenFile(missing, false, false), nullptr);

    auto created = TFileStream::OpenFile(missing, false, true);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->Mode(), TFileStream::kModeWrite);
    EXPECT_EQ(created->Size(), 0);
    created->Close();
    EXPECT_TRUE(std::filesystem::exists(folder / "missing.bin"));
}

TEST(FileModes, AFolderOpensAsNothing) {
    TTempFolder folder;
    std::filesystem::create_directory(folder / "sub");
    for (bool writeable : {false, true}) {
        EXPECT_EQ(TFileStream::OpenFile(PathText(folder / "sub"), true, writeable), nullptr) << writeable;
        EXPECT_EQ(TFileStream::OpenFile(PathText(folder / "sub"), false, writeable), nullptr) << writeable;
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder / "sub"));
}

TEST(FileModes, WritingTruncatesAndUpdatingKeepsTheContents) {
    TTempFolder folder;
    WriteFile(folder / "f.bin", "abcdef");
    auto update = TFileStream::OpenFile(PathText(folder / "f.bin"), true, true);
    ASSERT_NE(update, nullptr);
    EXPECT_EQ(update->Mode(), TFileStream::kModeReadWrite);
    EXPECT_EQ(update->Size(), 6);
    EXPECT_EQ(update->ReadU8(), 'a');
    update->WriteU8('X');  // a read then a write on one update stream
    EXPECT_EQ(update->ReadU8(), 'c');
    update->Close();
    EXPECT_EQ(ReadFile(folder / "f.bin"), "aXcdef");

    auto write = TFileStream::OpenFile(PathText(folder / "f.bin"), false, true);
    EXPECT_EQ(write->Size(), 0);
    write->Close();
    EXPECT_EQ(ReadFile(folder / "f.bin"), "");
}

TEST(FileModes, ReadOnlyStreamRefusesWrites) {
    TTempFolder folder;
    WriteFile(folder / "r.bin", "abc");
    auto stream = TFileStream::OpenFile(PathText(folder / "r.bin"), true, false);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Mode(), TFileStream::kModeRead);
    EXPECT_THROW(stream->WriteU8(1), TStreamWriteError);
    stream->Close();
}

TEST(FilePositions, WritesGrowTheSizeAndReadsStopAtTheEnd) {
    TTempFolder folder;
    Text name = PathText(folder / "w.bin");
    auto stream = TFileStream::OpenFile(name, false, true);
    for (int i = 0; i < 10; ++i) stream->WriteU8(i);
    EXPECT_EQ(stream->Position(), 10);
    EXPECT_EQ(stream->Size(), 10);
    EXPECT_TRUE(stream->AtEnd());
    stream->Close();

    auto reader = TFileStream::OpenFile(name, true, false);
    EXPECT_EQ(reader->Size(), 10);
    EXPECT_EQ(reader->Seek(8), 8);
    std::uint8_t bytes[4] = {};
    EXPECT_EQ(reader->Read(bytes, 4), 2);
    EXPECT_EQ(bytes[1], 9);
    EXPECT_EQ(reader->Read(bytes, 4), 0);
    EXPECT_EQ(reader->ReadI32(), 0);
    reader->Close();
}

// The position is whatever the C library reports, also beyond the end.
TEST(FilePositions, SeekReportsTheLibrarysPosition) {
    TTempFolder folder;
    WriteFile(folder / "s.bin", "0123");
    auto stream = TFileStream::OpenFile(PathText(folder / "s.bin"), true, false);
    EXPECT_EQ(stream->Seek(100), 100);
    EXPECT_EQ(stream->Position(), 100);
    EXPECT_EQ(stream->Size(), 4);
    EXPECT_FALSE(stream->AtEnd());
    EXPECT_EQ(stream->Seek(-3), 100);  // a failed seek leaves the place
    EXPECT_EQ(stream->Seek(2), 2);
    EXPECT_EQ(stream->ReadU8(), '2');
    stream->Close();
}

TEST(FileClosing, ClosedStreamIsEmptyAndHarmless) {
    TTempFolder folder;
    WriteFile(folder / "c.bin", "abc");
    auto stream = TFileStream::OpenFile(PathText(folder / "c.bin"), true, false);
    stream->ReadU8();
    stream->Close();
    EXPECT_EQ(stream->Position(), 0);
    EXPECT_EQ(stream->Size(), 0);
    EXPECT_TRUE(stream->AtEnd());
    std::uint8_t byte = 7;
    EXPECT_EQ(stream->Read(&byte, 1), 0);
    EXPECT_EQ(stream->Write(&byte, 1), 0);
    EXPECT_EQ(stream->Seek(2), 0);
    EXPECT_EQ(stream->ReadU8(), 0);
    stream->Flush();
    stream->Close();
}

TEST(FileNames, BackslashesBecomeSlashes) {
    TTempFolder folder;
    std::filesystem::create_directory(folder / "sub");
    WriteFile(folder / "sub" / "x.bin", "z");
    Text name = PathText(folder.Path()) + u"\\sub\\x.bin";
    auto stream = TFileStream::OpenFile(name, true, false);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->ReadU8(), 'z');
    stream->Close();
}

// UTF-8 on POSIX systems, UTF-16 on Windows: either way the file system
// gets the name as written, whatever the local code page.
TEST(FileNames, NonAsciiNamesReachTheFileSystemAsWritten) {
    TTempFolder folder;
    WriteFile(folder.Path() / std::filesystem::path(u8"caf\u00E9.bin"), "q");
    auto stream = TFileStream::OpenFile(PathText(folder.Path()) + u"/caf\u00E9.bin", true, false);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->ReadU8(), 'q');
    stream->Close();
}

}  // namespace
}  // namespace vesk
