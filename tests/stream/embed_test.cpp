// A file embedded at build time opens by its resource name with its exact
// bytes and size.
#include <gtest/gtest.h>

#include <fstream>

#include "embedded/stream_test_resource.h"
#include "stream/opening.h"

namespace vesk {
namespace {

std::vector<std::uint8_t> FileBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}

TEST(EmbeddedFiles, OpenAsIncbinWithTheirExactBytes) {
    InitStreamModule();
    std::vector<std::uint8_t> expected = FileBytes(VESK_TEST_DATA_DIR "/stream/embedded_sample.bin");
    ASSERT_EQ(expected.size(), 3000u);
    ASSERT_EQ(embedded::stream_test_resource_size(), 3000u);

    ASSERT_TRUE(RegisterResource(u"\\test\\sample.bin", embedded::stream_test_resource_data(),
                                 embedded::stream_test_resource_size()));
    TStreamRef stream = OpenForReading(u"incbin::\\test\\sample.bin");
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(stream->Size(), 3000);
    EXPECT_EQ(LoadBytes(stream), expected);
    EXPECT_TRUE(stream->AtEnd());

    stream->Seek(256);
    EXPECT_EQ(stream->ReadLine(), u"line one");
    EXPECT_EQ(stream->ReadLine(), u"line two");
    EXPECT_EQ(stream->ReadLine(), u"");  // the byte 0 ends an empty line
}

}  // namespace
}  // namespace vesk
