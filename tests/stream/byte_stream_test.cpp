// The operations every stream inherits: exact counts at and across the end,
// little-endian values, lines and 8-bit text, copies and failure kinds.
#include <gtest/gtest.h>

#include <cstring>

#include <vesk/stream/forwarding.h>
#include "stream_test_util.h"

namespace vesk {
namespace {

using test::Contents;
using test::StreamOver;

// Claims bytes remain but never delivers any: a broken source.
class TStallingStream : public TByteStream {
public:
    std::int32_t Position() override { return 0; }
    std::int32_t Size() override { return 10; }
    std::int32_t Read(void*, std::int32_t) override { return 0; }
    std::int32_t Write(const void*, std::int32_t) override { return 0; }
};

// The message of the failure that f raises, marked when it is a stream failure.
template <typename F>
std::string FailureText(F f) {
    try {
        f();
    } catch (const TStreamError& failure) {
        return "stream: " + failure.Message();
    } catch (const TFailure& failure) {
        return failure.Message();
    }
    return "no failure";
}

// Hands out at most one byte per Read, as pipes and sockets may.
class TTrickleStream : public TForwardingStream {
public:
    explicit TTrickleStream(TStreamRef inner) { SetInner(std::move(inner)); }
    std::int32_t Read(void* buffer, std::int32_t count) override {
        return TForwardingStream::Read(buffer, std::min(count, 1));
    }
};

TEST(TypedReads, AtTheEndGiveZeroWithoutFailure) {
    auto stream = StreamOver({});
    EXPECT_EQ(stream->ReadU8(), 0);
    EXPECT_EQ(stream->ReadI64(), 0);
    EXPECT_EQ(stream->ReadF64(), 0.0);
    EXPECT_TRUE(stream->AtEnd());
}

TEST(TypedReads, CutShortByTheEndKeepLowBytes) {
    EXPECT_EQ(StreamOver({0x34, 0x12})->ReadI32(), 0x1234);
    EXPECT_EQ(StreamOver({0x01, 0x02, 0x03})->ReadI64(), 0x030201);
}

TEST(TypedReads, UnsignedZeroExtendSignedSignExtend) {
    EXPECT_EQ(StreamOver({0xFF, 0xFF})->ReadU16(), 65535);
    EXPECT_EQ(StreamOver({0xFF, 0xFF, 0xFF, 0xFF})->ReadI32(), -1);
    EXPECT_EQ(StreamOver({0xFF})->ReadU8(), 255);
}

TEST(TypedValues, RoundTripLittleEndian) {
    auto stream = OpenBufferStream(nullptr);
    stream->WriteU8(0x1FF);
    stream->WriteU16(0x12345);
    stream->WriteI32(-2);
    stream->WriteI64(0x0102030405060708LL);
    stream->WriteF32(1.5f);
    stream->WriteF64(-0.25);
    std::vector<std::uint8_t> expected = {0xFF, 0x45, 0x23, 0xFE, 0xFF, 0xFF, 0xFF,
                                          8,    7,    6,    5,    4,    3,    2,    1,
                                          0x00, 0x00, 0xC0, 0x3F,  // 1.5f
                                          0,    0,    0,    0,    0,    0,    0xD0, 0xBF};
    EXPECT_EQ(Contents(stream->Buffer()), expected);

    stream->Seek(0);
    EXPECT_EQ(stream->ReadU8(), 0xFF);
    EXPECT_EQ(stream->ReadU16(), 0x2345);
    EXPECT_EQ(stream->ReadI32(), -2);
    EXPECT_EQ(stream->ReadI64(), 0x0102030405060708LL);
    EXPECT_EQ(stream->ReadF32(), 1.5f);
    EXPECT_EQ(stream->ReadF64(), -0.25);
    EXPECT_TRUE(stream->AtEnd());
}

TEST(ExactTransfers, ReadExactLeavesTheBufferPastTheEndAlone) {
    auto stream = StreamOver({1, 2, 3});
    std::uint8_t buffer[6] = {9, 9, 9, 9, 9, 9};
    EXPECT_EQ(stream->ReadExact(buffer, 6), 6);
    EXPECT_EQ(std::vector<std::uint8_t>(buffer, buffer + 6),
              (std::vector<std::uint8_t>{1, 2, 3, 9, 9, 9}));
}

TEST(ExactTransfers, LoopOverShortReads) {
    auto stream = std::make_shared<TTrickleStream>(StreamOver({1, 2, 3, 4, 5}));
    std::uint8_t buffer[4] = {};
    stream->ReadExact(buffer, 4);
    EXPECT_EQ(buffer[3], 4);
    EXPECT_EQ(stream->ReadI32(), 5);  // one byte left, then the end
    EXPECT_EQ(stream->Skip(100), 100);
}

TEST(ExactTransfers, NothingMovedBeforeTheEndIsAStreamFailure) {
    TStallingStream stream;
    std::uint8_t byte;
    EXPECT_THROW(stream.ReadExact(&byte, 1), TStreamReadError);
    EXPECT_THROW(stream.Skip(1), TStreamReadError);
    EXPECT_THROW(stream.WriteExact(&byte, 1), TStreamWriteError);
    EXPECT_EQ(FailureText([&] { stream.ReadU16(); }), "stream: Error reading from stream");
    EXPECT_EQ(FailureText([&] { stream.WriteU16(1); }), "stream: Error writing to stream");
}

TEST(ExactTransfers, SkipMovesOverLargeCountsAndStopsAtTheEnd) {
    std::vector<std::uint8_t> bytes(3000, 0);
    bytes[2500] = 77;
    auto stream = StreamOver(bytes);
    EXPECT_EQ(stream->Skip(2500), 2500);
    EXPECT_EQ(stream->ReadU8(), 77);
    EXPECT_EQ(stream->Skip(5000), 5000);
    EXPECT_TRUE(stream->AtEnd());
}

// A stream class that provides no transfers fails with the runtime's plain
// failure, which reader registries must not mistake for a stream failure.
TEST(DefaultRawStream, IsEmptyUnseekableAndRefusesTransfers) {
    TByteStream stream;
    EXPECT_EQ(stream.Position(), -1);
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Seek(5), -1);
    EXPECT_FALSE(stream.AtEnd());
    EXPECT_EQ(FailureText([&] { stream.ReadU8(); }), "Stream is not readable");
    EXPECT_EQ(FailureText([&] { stream.WriteU8(1); }), "Stream is not writeable");
}

TEST(Lines, EndAtLineFeedOrNulAndDropEveryCarriageReturn) {
    auto stream = StreamOver({'a', 'b', 13, 10, 'c', 'd', 13, 'e', 0, 'f', 10, 13, 13});
    EXPECT_EQ(stream->ReadLine(), u"ab");
    EXPECT_EQ(stream->ReadLine(), u"cde");
    EXPECT_EQ(stream->ReadLine(), u"f");
    EXPECT_EQ(stream->ReadLine(), u"");
    EXPECT_TRUE(stream->AtEnd());
    EXPECT_EQ(stream->ReadLine(), u"");
}

TEST(Lines, LongLinesAndHighBytesSurviveWhole) {
    std::vector<std::uint8_t> bytes;
    for (int i = 0; i < 2048 + 100; ++i) bytes.push_back(static_cast<std::uint8_t>('A' + i % 26));
    bytes.push_back(0xE9);
    bytes.push_back(10);
    bytes.push_back('z');
    auto stream = StreamOver(bytes);
    Text line = stream->ReadLine();
    ASSERT_EQ(line.size(), 2149u);
    EXPECT_EQ(line[1023], u'A' + 1023 % 26);
    EXPECT_EQ(line[1024], u'A' + 1024 % 26);
    EXPECT_EQ(line[2147], u'A' + 2147 % 26);
    EXPECT_EQ(line.back(), u'\u00E9');
    EXPECT_EQ(stream->ReadLine(), u"z");
}

TEST(Text8Bit, WritesLowBytesAndReadsCodesUpTo255) {
    auto stream = OpenBufferStream(nullptr);
    stream->WriteLine(u"x");
    stream->WriteText(u"\u263A\u00FF");
    EXPECT_EQ(Contents(stream->Buffer()), (std::vector<std::uint8_t>{120, 13, 10, 0x3A, 0xFF}));
    stream->Seek(3);
    EXPECT_EQ(stream->ReadText(4), (Text{u'\u003A', u'\u00FF', 0, 0}));
}

TEST(Copies, CopyAllAndCopyCountMoveTheRightBytes) {
    std::vector<std::uint8_t> bytes(1000);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7);
    auto all = OpenBufferStream(nullptr);
    CopyAll(StreamOver(bytes), all, 64);
    EXPECT_EQ(Contents(all->Buffer()), bytes);

    auto counted = OpenBufferStream(nullptr);
    auto source = StreamOver(bytes);
    source->Seek(990);
    CopyCount(source, counted, 15, 4);  // five bytes past the end come out as zeros
    std::vector<std::uint8_t> expected(bytes.begin() + 990, bytes.end());
    expected.resize(15, 0);
    EXPECT_EQ(Contents(counted->Buffer()), expected);
}

// An unseekable stream never reports AtEnd; its end shows as a Read of 0.
TEST(Copies, CopyAllStopsAtTheEndOfAnUnseekableStream) {
    class TUnseekable : public TForwardingStream {
    public:
        std::int32_t Position() override { return -1; }
        std::int32_t Size() override { return 0; }
    };
    auto source = std::make_shared<TUnseekable>();
    source->SetInner(StreamOver({1, 2, 3}));
    auto target = OpenBufferStream(nullptr);
    CopyAll(source, target, 2);
    EXPECT_EQ(Contents(target->Buffer()), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(Copies, NegativeCountsFailAndCopyNothing) {
    auto target = OpenBufferStream(nullptr);
    EXPECT_THROW(CopyCount(StreamOver({1, 2}), target, -3, 16), TStreamReadError);
    EXPECT_EQ(target->Size(), 0);
}

TEST(BorrowedStreams, CloseLetsGoWithoutClosingTheInnerStream) {
    class TCloseCounter : public TForwardingStream {
    public:
        int closes = 0;
        void Close() override { ++closes; }
    };
    auto inner = std::make_shared<TCloseCounter>();
    inner->SetInner(StreamOver({1, 2, 3}));
    auto borrowed = TBorrowedStream::Borrow(inner);
    EXPECT_EQ(borrowed->ReadU8(), 1);
    borrowed->Close();
    EXPECT_EQ(inner->closes, 0);
    EXPECT_EQ(borrowed->Inner(), nullptr);
    EXPECT_EQ(inner->Position(), 1);
    EXPECT_EQ(inner->ReadU8(), 2);

    // A closed borrowed stream is empty rather than a dangling view.
    EXPECT_TRUE(borrowed->AtEnd());
    EXPECT_EQ(borrowed->ReadU8(), 0);
    EXPECT_EQ(borrowed->ReadLine(), u"");
    EXPECT_THROW(borrowed->WriteU8(1), TStreamWriteError);
    borrowed->Close();

    auto forwarding = std::make_shared<TForwardingStream>();
    forwarding->SetInner(inner);
    forwarding->Close();
    EXPECT_EQ(inner->closes, 1);
}

}  // namespace
}  // namespace vesk
