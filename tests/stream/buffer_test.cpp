// Memory buffers (growth, external memory, peeks and pokes, loading and
// saving) and buffer streams (appending past the end, reading nothing beyond it).
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include <vesk/stream/buffer_stream.h>
#include <vesk/stream/opening.h>
#include "stream_test_util.h"

namespace vesk {
namespace {

using test::Contents;
using test::PathText;
using test::TTempFolder;

TEST(BufferGrowth, GrowsByHalfAgainOrToTheRequestedSize) {
    auto buffer = Allocate(10);
    EXPECT_EQ(buffer->Capacity(), 10);
    buffer->Resize(11);
    EXPECT_EQ(buffer->Capacity(), 15);
    EXPECT_EQ(buffer->Size(), 11);
    buffer->Resize(40);
    EXPECT_EQ(buffer->Capacity(), 40);

    auto stepping = Allocate(100);
    std::vector<std::int32_t> capacities;
    for (std::int32_t size = 101; size <= 226; ++size) {
        stepping->Resize(size);
        if (capacities.empty() || capacities.back() != stepping->Capacity())
            capacities.push_back(stepping->Capacity());
    }
    EXPECT_EQ(capacities, (std::vector<std::int32_t>{150, 225, 337}));
}

TEST(BufferGrowth, KeepsContentsAndNeverShrinks) {
    auto buffer = Allocate(4);
    PokeI32(buffer, 0, 0x04030201);
    buffer->Resize(5);
    EXPECT_EQ(buffer->PeekI32(0), 0x04030201);
    std::uint8_t* before = buffer->Data();
    buffer->Resize(2);
    EXPECT_EQ(buffer->Data(), before);
    EXPECT_EQ(buffer->Capacity(), 6);
    EXPECT_EQ(buffer->Size(), 2);
    buffer->Resize(4);
    EXPECT_EQ(buffer->PeekU16(2), 0x0403);
}

TEST(BufferGrowth, ExternalMemoryBecomesOwnedOnFirstResize) {
    std::vector<std::uint8_t> external(100);
    for (int i = 0; i < 100; ++i) external[i] = static_cast<std::uint8_t>(i);
    auto buffer = OverMemory(external.data(), 100);
    EXPECT_EQ(buffer->Capacity(), -1);
    EXPECT_EQ(buffer->Data(), external.data());
    buffer->Resize(10);
    EXPECT_NE(buffer->Data(), external.data());
    EXPECT_EQ(buffer->Capacity(), 10);
    EXPECT_EQ(buffer->Size(), 10);
    EXPECT_EQ(buffer->PeekU8(9), 9);
    buffer->PokeU8(0, 200);
    EXPECT_EQ(external[0], 0);
    EXPECT_EQ(external[99], 99);
}

TEST(BufferValues, PeeksAndPokesAreLittleEndianAtAnyOffset) {
    auto buffer = Allocate(32);
    std::memset(buffer->Data(), 0, 32);
    PokeI32(buffer, 0, 258);
    EXPECT_EQ(PeekU8(buffer, 0), 2);
    EXPECT_EQ(PeekU8(buffer, 1), 1);
    EXPECT_EQ(PeekU16(buffer, 0), 258);

    PokeU16(buffer, 5, 0xFFFF);
    EXPECT_EQ(PeekU16(buffer, 5), 65535);
    PokeI32(buffer, 7, -1);
    EXPECT_EQ(PeekI32(buffer, 7), -1);
    PokeU8(buffer, 11, 0x1FF);
    EXPECT_EQ(PeekU8(buffer, 11), 0xFF);
    PokeI64(buffer, 13, -0x123456789ALL);
    EXPECT_EQ(PeekI64(buffer, 13), -0x123456789ALL);
    PokeF32(buffer, 21, 3.25f);
    EXPECT_EQ(PeekF32(buffer, 21), 3.25f);
    PokeF64(buffer, 1, -1e100);
    EXPECT_EQ(PeekF64(buffer, 1), -1e100);
}

TEST(BufferValues, CopyBytesBetweenAndWithinBuffers) {
    auto source = Allocate(6);
    for (int i = 0; i < 6; ++i) source->PokeU8(i, i + 1);
    auto destination = Allocate(4);
    std::memset(destination->Data(), 0, 4);
    CopyBytes(source, 2, destination, 1, 3);
    EXPECT_EQ(Contents(destination), (std::vector<std::uint8_t>{0, 3, 4, 5}));
    CopyBytes(source, 0, source, 1, 5);
    EXPECT_EQ(Contents(source), (std::vector<std::uint8_t>{1, 1, 2, 3, 4, 5}));
}

TEST(BufferStreams, OverAnEmptyBufferAppendWhatIsWritten) {
    auto stream = OpenBufferStream(nullptr);
    EXPECT_EQ(stream->Buffer()->Size(), 0);
    EXPECT_EQ(stream->Buffer()->Capacity(), 0);
    EXPECT_TRUE(stream->AtEnd());
    stream->WriteI32(0x01020304);
    EXPECT_EQ(stream->Size(), 4);
    EXPECT_EQ(stream->Position(), 4);
    EXPECT_EQ(stream->Buffer()->PeekI32(0), 0x01020304);
}

TEST(BufferStreams, ReadsStopAtTheEndAndWritesGrowPastIt) {
    auto buffer = Allocate(4);
    std::memcpy(buffer->Data(), "abcd", 4);
    auto stream = TBufferStream::Over(buffer);
    EXPECT_EQ(stream->Seek(2), 2);
    char bytes[10] = {};
    EXPECT_EQ(stream->Read(bytes, 10), 2);
    EXPECT_EQ(stream->Position(), 4);
    EXPECT_EQ(stream->Read(bytes, 10), 0);

    stream->Seek(2);
    EXPECT_EQ(stream->Write("123456", 6), 6);
    EXPECT_EQ(buffer->Size(), 8);
    EXPECT_EQ(stream->Position(), 8);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer->Data()), 8), "ab123456");

    EXPECT_EQ(stream->Seek(-1), 0);
    EXPECT_EQ(stream->Seek(1000), 8);
}

// A shrinking Resize can leave the stream beyond the end: it then moves
// nothing until a Seek brings it back.
TEST(BufferStreams, BeyondTheEndAfterShrinkingMovesNothing) {
    auto buffer = Allocate(8);
    auto stream = TBufferStream::Over(buffer);
    stream->Seek(6);
    buffer->Resize(3);
    char byte = 'x';
    EXPECT_EQ(stream->Read(&byte, 1), 0);
    EXPECT_EQ(stream->Write(&byte, 1), 0);
    EXPECT_EQ(stream->ReadU8(), 0);
    EXPECT_EQ(stream->Seek(6), 3);
    EXPECT_EQ(stream->Write(&byte, 1), 1);
    EXPECT_EQ(buffer->Size(), 4);
}

TEST(BufferStreams, BufferStandsInForANameWhateverTheFlags) {
    InitStreamModule();
    auto buffer = Allocate(2);
    PokeU16(buffer, 0, 0xBEEF);
    for (auto [readable, writeable] : {std::pair{true, false}, {false, true}, {false, false}}) {
        TStreamRef stream = OpenUrlStream(buffer, readable, writeable);
        auto bufferStream = std::dynamic_pointer_cast<TBufferStream>(stream);
        ASSERT_NE(bufferStream, nullptr);
        EXPECT_EQ(bufferStream->Buffer(), buffer);
        EXPECT_EQ(stream->ReadU16(), 0xBEEF);
    }
}

TEST(BufferFiles, SaveAndLoadByName) {
    InitStreamModule();
    TTempFolder folder;
    Text name = PathText(folder / "buffer.bin");
    auto buffer = Allocate(3000);
    for (int i = 0; i < 3000; ++i) buffer->PokeU8(i, i % 251);
    EXPECT_TRUE(SaveTo(buffer, name));
    auto loaded = LoadFrom(name);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Capacity(), 3000);
    EXPECT_EQ(Contents(loaded), Contents(buffer));

    EXPECT_FALSE(buffer->SaveTo(PathText(folder / "missing" / "x.bin")));
    EXPECT_FALSE(buffer->SaveTo(u"incbin::x"));
    EXPECT_EQ(TMemoryBuffer::LoadFrom(PathText(folder / "missing.bin")), nullptr);
}

TEST(BufferFiles, LoadFromAStreamReadsToItsEndAndLeavesItOpen) {
    InitStreamModule();
    auto source = test::StreamOver({5, 6, 7, 8});
    source->Seek(1);
    auto loaded = LoadFrom(source);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(Contents(loaded), (std::vector<std::uint8_t>{6, 7, 8}));
    EXPECT_TRUE(source->AtEnd());
}

}  // namespace
}  // namespace vesk
