// A file embedded at build time opens by its resource name with its exact
// bytes and size; closing its stream gives its pages back without changing
// a byte.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>

#if defined(_WIN32)
#include <windows.h>
#include <psapi.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

#include "embedded/stream_test_resource.h"
#include <vesk/stream/opening.h>
#include <vesk/stream/resources.h>

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

constexpr std::size_t kPage = 4096;

constexpr std::array<std::uint8_t, 4 * kPage> MakePattern() {
    std::array<std::uint8_t, 4 * kPage> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / kPage);
    return bytes;
}

// Read-only data of the test program, as embedded resources are.
alignas(kPage) constexpr std::array<std::uint8_t, 4 * kPage> kFilePages = MakePattern();

#if defined(_WIN32)
// Whether the page holding the address is in the process's working set now.
bool Resident(const void* address) {
    PSAPI_WORKING_SET_EX_INFORMATION page{};
    page.VirtualAddress = const_cast<void*>(address);
    return QueryWorkingSetEx(GetCurrentProcess(), &page, sizeof page) && page.VirtualAttributes.Valid;
}

long PageSize() {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    return static_cast<long>(system.dwPageSize);
}

// wine maps the executable from the host's files and keeps every page it
// has read; only Windows itself takes them out of the working set.
bool PagesStayResident() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }
#else
// Whether the page holding the address is mapped into the process now
// (bit 63 of its /proc/self/pagemap entry).
bool Resident(const void* address) {
    const int pagemap = open("/proc/self/pagemap", O_RDONLY);
    std::uint64_t entry = 0;
    const auto offset = static_cast<off_t>(reinterpret_cast<std::uintptr_t>(address) / kPage * sizeof entry);
    const bool read = pread(pagemap, &entry, sizeof entry, offset) == sizeof entry;
    close(pagemap);
    return read && (entry >> 63) != 0;
}

long PageSize() { return sysconf(_SC_PAGESIZE); }

bool PagesStayResident() { return false; }
#endif

std::vector<std::uint8_t> ReadResource(const Text& url) {
    TStreamRef stream = OpenForReading(url);
    if (!stream) return {};
    std::vector<std::uint8_t> bytes = LoadBytes(stream);
    stream->Close();
    return bytes;
}

TEST(EmbeddedFiles, ClosingGivesBackTheWholePagesInsideAndReadingAgainGivesTheSameBytes) {
    if (PageSize() != static_cast<long>(kPage)) GTEST_SKIP() << "pages are not 4 KB here";
    InitStreamModule();
    // Starting 100 bytes in: the first and last pages are only partly the
    // resource's and must stay.
    const std::uint8_t* base = kFilePages.data();
    ASSERT_TRUE(RegisterResource(u"\\test\\pages.bin", base + 100, 3 * kPage));
    const std::vector<std::uint8_t> expected(base + 100, base + 100 + 3 * kPage);

    EXPECT_EQ(ReadResource(u"incbin::\\test\\pages.bin"), expected);
    if (PagesStayResident()) {
        EXPECT_EQ(ReadResource(u"incbin::\\test\\pages.bin"), expected);
        GTEST_SKIP() << "the bytes read back unchanged, but wine keeps every page of the executable";
    }
    EXPECT_TRUE(Resident(base));
    EXPECT_FALSE(Resident(base + kPage));
    EXPECT_FALSE(Resident(base + 2 * kPage));
    EXPECT_TRUE(Resident(base + 3 * kPage));
    EXPECT_EQ(ReadResource(u"incbin::\\test\\pages.bin"), expected);
}

constexpr std::size_t kLongPages = 96;

constexpr std::array<std::uint8_t, kLongPages * kPage> MakeLongPattern() {
    std::array<std::uint8_t, kLongPages * kPage> bytes{};
    for (std::size_t page = 0; page < kLongPages; ++page)
        for (std::size_t i = page * kPage; i < (page + 1) * kPage; ++i) bytes[i] = static_cast<std::uint8_t>(i * 5 + page);
    return bytes;
}

alignas(kPage) constexpr std::array<std::uint8_t, kLongPages * kPage> kLongFile = MakeLongPattern();

// A sound streamed from a resource reads it a block at a time for minutes:
// the pages behind the reader go back as it reads on, before any Close.
TEST(EmbeddedFiles, ReadingOnGivesBackThePagesBehindTheReader) {
    if (PageSize() != static_cast<long>(kPage)) GTEST_SKIP() << "pages are not 4 KB here";
    InitStreamModule();
    ASSERT_TRUE(RegisterResource(u"\\test\\long.bin", kLongFile.data(), kLongFile.size()));
    TStreamRef stream = OpenForReading(u"incbin::\\test\\long.bin");
    std::vector<std::uint8_t> block(kPage);
    std::size_t read = 0;
    // Up to the read that completes a step: the pages behind it go then. They
    // are looked at before anything faults in further on, since the kernel
    // may map a faulting page's neighbours in the page cache along with it,
    // behind the reader too.
    // The bytes are checked against the pattern, not the resource, whose
    // reading would fault its pages in again.
    for (; read < 64 * kPage; read += kPage) {
        ASSERT_EQ(stream->Read(block.data(), kPage), static_cast<std::int32_t>(kPage));
        for (std::size_t i = 0; i < kPage; ++i)
            ASSERT_EQ(block[i], static_cast<std::uint8_t>((read + i) * 5 + read / kPage)) << read + i;
    }
    if (PagesStayResident()) GTEST_SKIP() << "the bytes read back right, but wine keeps every page of the executable";
    EXPECT_FALSE(Resident(kLongFile.data()));
    EXPECT_FALSE(Resident(kLongFile.data() + 40 * kPage));
    stream->Seek(0);
    ASSERT_EQ(stream->Read(block.data(), kPage), static_cast<std::int32_t>(kPage));
    EXPECT_TRUE(std::equal(block.begin(), block.end(), kLongFile.begin()));
}

TEST(EmbeddedFiles, ResourcesOutsideFilePagesKeepTheirBytesWhenReleased) {
    InitStreamModule();
    static std::vector<std::uint8_t> heap(4 * kPage * 4);  // outlives the table entry
    for (std::size_t i = 0; i < heap.size(); ++i) heap[i] = static_cast<std::uint8_t>(i * 13);
    const std::vector<std::uint8_t> expected = heap;
    ASSERT_TRUE(RegisterResource(u"\\test\\heap.bin", heap.data(), static_cast<std::uint32_t>(heap.size())));
    EXPECT_EQ(ReadResource(u"incbin::\\test\\heap.bin"), expected);
    ReleaseResourcePages(u"\\test\\heap.bin");
    ReleaseResourcePages(u"\\test\\unknown.bin");
    EXPECT_EQ(heap, expected);
}

}  // namespace
}  // namespace vesk
