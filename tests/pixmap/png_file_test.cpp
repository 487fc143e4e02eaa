#include <vesk/pixmap/png_file.h>
#include <vesk/pixmap/tga_reader.h>

#include <vesk/stream/opening.h>
#include "test_streams.h"
#include "support/file_size_limit.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

namespace vesk {
namespace {

using test::Bytes;
using test::StreamOf;
namespace fs = std::filesystem;

const fs::path kSuite = fs::path(VESK_TEST_DATA_DIR) / "pngsuite";

Bytes FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

TPixmapRef ReadSuite(const std::string& name) { return ReadPng(Utf8ToText((kSuite / name).string())); }

uint32_t BigEndian(const uint8_t* p) { return uint32_t(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

// The chunks of a PNG file as (type, data) pairs.
std::vector<std::pair<std::string, Bytes>> Chunks(const Bytes& file) {
    std::vector<std::pair<std::string, Bytes>> chunks;
    for (size_t at = 8; at + 12 <= file.size();) {
        uint32_t length = BigEndian(&file[at]);
        std::string type(file.begin() + at + 4, file.begin() + at + 8);
        chunks.emplace_back(type, Bytes(file.begin() + at + 8, file.begin() + at + 8 + length));
        at += 12 + length;
    }
    return chunks;
}

bool HasChunk(const Bytes& file, const std::string& type) {
    for (auto& [name, data] : Chunks(file))
        if (name == type) return true;
    return false;
}

// The pixmap format the reader must produce for a valid suite file, from
// its header's colour type and whether a transparency chunk adds alpha;
// FormatNone where it must decline.
int32_t ExpectedFormat(const Bytes& file) {
    int colourType = file[25];
    bool transparency = HasChunk(file, "tRNS");
    switch (colourType) {
    case 0: return transparency ? FormatRGBA8888 : FormatI8;
    case 2:
    case 3: return transparency ? FormatRGBA8888 : FormatRGB888;
    case 4:
    case 6: return FormatRGBA8888;
    default: return FormatNone;
    }
}

std::vector<fs::path> SuiteFiles(bool broken) {
    std::vector<fs::path> files;
    for (auto& entry : fs::directory_iterator(kSuite)) {
        auto name = entry.path().filename().string();
        if (entry.path().extension() == ".png" && (name[0] == 'x') == broken) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool SamePixels(const TPixmap& a, const TPixmap& b) {
    if (a.width != b.width || a.height != b.height || a.format != b.format) return false;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.GetPixel(x, y) != b.GetPixel(x, y)) return false;
    return true;
}

TEST(PngReader, ValidSuiteFilesDecodeToTheirFormats) {
    auto files = SuiteFiles(false);
    ASSERT_GT(files.size(), 150u);
    for (auto& path : files) {
        Bytes file = FileBytes(path);
        int32_t expected = ExpectedFormat(file);
        auto pixmap = ReadPng(Utf8ToText(path.string()));
        SCOPED_TRACE(path.filename().string());
        EXPECT_EQ(CurrentPngStream(), nullptr);
        if (expected == FormatNone) {
            EXPECT_FALSE(pixmap);
            continue;
        }
        ASSERT_TRUE(pixmap);
        EXPECT_EQ(pixmap->format, expected);
        EXPECT_EQ(pixmap->width, static_cast<int32_t>(BigEndian(&file[16])));
        EXPECT_EQ(pixmap->height, static_cast<int32_t>(BigEndian(&file[20])));
    }
}

TEST(PngReader, KnownPixelsAndLayouts) {
    // Interlaced and straight files hold the same pictures.
    for (const char* pair : {"0g08", "2c08", "3p08", "6a08", "0g01", "2c16"}) {
        auto straight = ReadSuite(std::string("basn") + pair + ".png");
        auto interlaced = ReadSuite(std::string("basi") + pair + ".png");
        ASSERT_TRUE(straight && interlaced) << pair;
        EXPECT_TRUE(SamePixels(*straight, *interlaced)) << pair;
    }
    auto palette = ReadSuite("basn3p01.png");  // 1-bit palette
    ASSERT_TRUE(palette);
    EXPECT_EQ(palette->format, FormatRGB888);
    auto deep = ReadSuite("basn2c16.png");  // 16-bit samples cut to 8
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->format, FormatRGB888);
    EXPECT_EQ(deep->GetPixel(0, 0), 0xFFFFFF00u);
    auto grey = ReadSuite("basn0g01.png");  // 1-bit grey widened to 8
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->GetPixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(grey->GetPixel(31, 0), 0xFF000000u);
}

// A PNG of one layout, written here with libpng itself; rows are packed as
// the file stores them.
Bytes MakePng(int width, int height, int colourType, int depth, const Bytes& rows, int transparentGrey = -1) {
    Bytes file;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    auto append = [](png_structp p, png_bytep data, png_size_t n) {
        auto* out = static_cast<Bytes*>(png_get_io_ptr(p));
        out->insert(out->end(), data, data + n);
    };
    png_set_write_fn(png, &file, append, nullptr);
    png_set_IHDR(png, info, width, height, depth, colourType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_color_16 transparent{};
    transparent.gray = static_cast<png_uint_16>(transparentGrey);
    if (transparentGrey >= 0) png_set_tRNS(png, info, nullptr, 0, &transparent);
    png_write_info(png, info);
    const size_t rowBytes = rows.size() / height;
    for (int y = 0; y < height; ++y) png_write_row(png, rows.data() + y * rowBytes);
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return file;
}

// Grey with alpha has no pixmap format of its own: it widens to RGBA, the
// grey in all three colours, whether the alpha is stored or comes from a
// transparency chunk, and from 16-bit samples cut to 8.
TEST(PngReader, GreyWithAlphaReadsAsRgba) {
    auto stored = ReadPng(StreamOf(MakePng(2, 1, PNG_COLOR_TYPE_GRAY_ALPHA, 8, {10, 200, 250, 0})));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->format, FormatRGBA8888);
    EXPECT_EQ(stored->GetPixel(0, 0), 0xC80A0A0Au);
    EXPECT_EQ(stored->GetPixel(1, 0), 0x00FAFAFAu);

    auto deep = ReadPng(StreamOf(MakePng(1, 2, PNG_COLOR_TYPE_GRAY_ALPHA, 16, {0x12, 0x34, 0xFF, 0x00, 0x56, 0, 0x80, 0})));
    ASSERT_TRUE(deep);
    EXPECT_EQ(deep->GetPixel(0, 0), 0xFF121212u);
    EXPECT_EQ(deep->GetPixel(0, 1), 0x80565656u);

    auto keyed = ReadPng(StreamOf(MakePng(2, 1, PNG_COLOR_TYPE_GRAY, 8, {7, 9}, 7)));
    ASSERT_TRUE(keyed);
    EXPECT_EQ(keyed->format, FormatRGBA8888);
    EXPECT_EQ(keyed->GetPixel(0, 0), 0x00070707u);
    EXPECT_EQ(keyed->GetPixel(1, 0), 0xFF090909u);
}

TEST(PngReader, BrokenSuiteFilesGiveNull) {
    auto files = SuiteFiles(true);
    ASSERT_GE(files.size(), 14u);
    for (auto& path : files) {
        EXPECT_FALSE(ReadPng(Utf8ToText(path.string()))) << path.filename();
        EXPECT_EQ(CurrentPngStream(), nullptr);
    }
}

TEST(PngReader, TruncatedFilesGiveNull) {
    Bytes file = FileBytes(kSuite / "basn6a08.png");
    for (size_t keep : {size_t(8), size_t(20), size_t(40), file.size() / 2, file.size() - 13, file.size() - 1}) {
        Bytes cut(file.begin(), file.begin() + keep);
        EXPECT_FALSE(ReadPng(StreamOf(cut))) << keep;
        EXPECT_EQ(CurrentPngStream(), nullptr);
    }
}

TEST(PngReader, RefusesWhatIsNotPng) {
    EXPECT_FALSE(ReadPng(StreamOf({0x89, 'P', 'N', 'G', 13, 10, 26})));
    Bytes tga = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 0, 24, 0, 1, 2, 3};
    EXPECT_FALSE(ReadPng(StreamOf(tga)));
    EXPECT_FALSE(ReadPng(u"no such file.png"));
    EXPECT_EQ(CurrentPngStream(), nullptr);
}

// 69 bytes whose header declares 1,000,000 x 1,000,000 RGBA pixels: reading
// must not set aside gigabytes of rows for data that cannot be there. A
// large image that is really present still decodes.
TEST(PngReader, AllocatesOnlyWhatTheDataCanFill) {
    InitPngModule();
    const Bytes huge = {
        0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x0F,
        0x42, 0x40, 0x00, 0x0F, 0x42, 0x40, 0x08, 0x06, 0x00, 0x00, 0x00, 0x5C, 0x6D, 0x38, 0x7D, 0x00, 0x00, 0x00,
        0x0C, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9C, 0x63, 0x60, 0xA0, 0x3D, 0x00, 0x00, 0x00, 0x64, 0x00, 0x01, 0x86,
        0x64, 0x3C, 0x35, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82};
    EXPECT_FALSE(ReadPng(StreamOf(huge)));
    EXPECT_EQ(CurrentPngStream(), nullptr);

    TPixmapRef blank = TPixmap::Create(2048, 2048, FormatRGBA8888, 4);
    std::memset(blank->pixels, 0, static_cast<size_t>(blank->capacity));
    TBufferRef file = TMemoryBuffer::Allocate(0);
    ASSERT_EQ(WritePng(blank, file, 9), 1);
    ASSERT_LT(file->Size(), 64 * 1024);  // over 200 times smaller than its pixels
    TPixmapRef back = ReadPng(file);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->width, 2048);
    EXPECT_EQ(back->height, 2048);
}

TEST(PngReader, StreamFailuresPropagateAfterCleanUp) {
    Bytes file = FileBytes(kSuite / "basn2c08.png");
    auto stream = std::make_shared<test::TBrokenReadStream>(file, 100);
    EXPECT_THROW(ReadPng(stream), TStreamReadError);
    EXPECT_EQ(CurrentPngStream(), nullptr);
    // The stream was borrowed: it is still open and usable afterwards.
    EXPECT_EQ(stream->closes, 0);
    stream->Seek(0);
    EXPECT_EQ(stream->ReadU8(), 0x89);
}

TEST(PngReader, ReachedThroughTheRegistry) {
    InitTgaModule();
    auto stream = StreamOf(FileBytes(kSuite / "basn2c08.png"));
    auto pixmap = ReadPixmap(stream);
    ASSERT_TRUE(pixmap);
    EXPECT_EQ(pixmap->format, FormatRGB888);
    EXPECT_EQ(pixmap->width, 32);
    // A PNG whose stream breaks is a decline, not a failure.
    EXPECT_FALSE(ReadPixmap(std::make_shared<test::TBrokenReadStream>(FileBytes(kSuite / "basn2c08.png"), 100)));
}

// --- Writing ---

class PngWriter : public ::testing::Test {
protected:
    void SetUp() override { InitPngModule(); }  // memory buffers open through the stream openers
};

TPixmapRef Pattern(int32_t format, int width = 5, int height = 3) {
    auto pixmap = TPixmap::Create(width, height, format, 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixmap->SetPixel(x, y, static_cast<TArgb>((40 * x + 7 * y) << 24 | (30 * x) << 16 | (50 * y) << 8 | (x + y)));
    return pixmap;
}

TPixmapRef RoundTrip(const TPixmapRef& pixmap, int level = 6) {
    auto buffer = TMemoryBuffer::Allocate(0);
    EXPECT_EQ(WritePng(pixmap, buffer, level), 1);
    EXPECT_EQ(CurrentPngStream(), nullptr);
    return ReadPng(buffer);
}

TEST_F(PngWriter, RoundTripsEveryFormat) {
    struct Case {
        int32_t format;
        int32_t readBack;
    } cases[] = {
        {FormatI8, FormatI8},
        {FormatRGB888, FormatRGB888},
        {FormatBGR888, FormatRGB888},
        {FormatRGBA8888, FormatRGBA8888},
        {FormatBGRA8888, FormatRGBA8888},
        {FormatA8, FormatRGBA8888},
    };
    for (auto& c : cases) {
        auto original = Pattern(c.format);
        auto back = RoundTrip(original);
        ASSERT_TRUE(back) << c.format;
        EXPECT_EQ(back->format, c.readBack);
        EXPECT_TRUE(SamePixels(*back, *original->Convert(c.readBack))) << c.format;
    }
    auto alpha = RoundTrip(Pattern(FormatA8));
    EXPECT_EQ(alpha->GetPixel(2, 1), 0x57FFFFFFu);  // colour channels all 255
}

TEST_F(PngWriter, WritesThroughWindowsWithTheParentsPitch) {
    auto parent = Pattern(FormatRGBA8888, 9, 7);
    auto window = parent->SubPixmap(2, 3, 4, 3);
    auto back = RoundTrip(window);
    ASSERT_TRUE(back);
    EXPECT_TRUE(SamePixels(*back, *window->Clone()));
}

// Walks the zlib stream in the IDAT chunks and reports whether every deflate
// block is a stored block, and the number of bytes they hold.
bool StoredOnly(const Bytes& file, size_t& stored) {
    Bytes z;
    for (auto& [type, data] : Chunks(file))
        if (type == "IDAT") z.insert(z.end(), data.begin(), data.end());
    stored = 0;
    for (size_t at = 2; at < z.size();) {
        int header = z[at];
        if ((header >> 1 & 3) != 0) return false;
        size_t length = z[at + 1] | z[at + 2] << 8;
        if ((length ^ (z[at + 3] | z[at + 4] << 8)) != 0xFFFF) return false;
        stored += length;
        at += 5 + length;
        if (header & 1) return at + 4 == z.size();  // the final block, then the checksum
    }
    return false;
}

TEST_F(PngWriter, LevelZeroStoresTheImageDataUncompressed) {
    auto buffer = TMemoryBuffer::Allocate(0);
    ASSERT_EQ(WritePng(Pattern(FormatRGBA8888, 100, 60), buffer, 0), 1);
    size_t stored = 0;
    EXPECT_TRUE(StoredOnly(test::BytesOf(buffer), stored));
    EXPECT_EQ(stored, 60u * (1 + 4 * 100));  // one filter byte per row
    ASSERT_TRUE(ReadPng(buffer));

    auto packed = TMemoryBuffer::Allocate(0);
    ASSERT_EQ(WritePng(Pattern(FormatRGBA8888, 100, 60), packed, 9), 1);
    EXPECT_FALSE(StoredOnly(test::BytesOf(packed), stored));
}

TEST_F(PngWriter, RefusedImagesGiveZeroAndLeaveNothingBehind) {
    auto empty = TPixmap::Create(1, 4, FormatRGBA8888, 4);
    empty->width = 0;  // no pixmap is made empty, but one may be made so
    EXPECT_EQ(WritePng(empty, TMemoryBuffer::Allocate(0), 0), 0);
    EXPECT_EQ(WritePng(Pattern(FormatRGB888), TMemoryBuffer::Allocate(0), 42), 0);
    EXPECT_EQ(WritePng(Pattern(FormatI8), u"/no/such/folder/frame.png", 0), 0);
    EXPECT_EQ(WritePng(Pattern(FormatI8), u"nowhere::frame.png", 0), 0);
    EXPECT_EQ(CurrentPngStream(), nullptr);
    EXPECT_TRUE(RoundTrip(Pattern(FormatRGB888)));  // libpng state was fully released
}

TEST_F(PngWriter, WriteFailuresPropagateAfterCleanUp) {
    auto disk = std::make_shared<test::TFullDiskStream>(100);
    EXPECT_THROW(WritePng(Pattern(FormatRGBA8888, 64, 64), disk, 0), TStreamWriteError);
    EXPECT_EQ(CurrentPngStream(), nullptr);
    EXPECT_EQ(disk->closes, 0);  // borrowed, so the caller's stream stays open
    EXPECT_TRUE(RoundTrip(Pattern(FormatRGBA8888)));
}

using test::TFileSizeLimit;

class PngFileWriter : public PngWriter {
protected:
    void SetUp() override {
        PngWriter::SetUp();
        std::string pattern = (fs::temp_directory_path() / "vesk-png-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { fs::remove_all(folder_); }

    Text Name(const char* file) const { return Utf8ToText((folder_ / file).string()); }
    std::set<std::string> Files() const {
        std::set<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder_)) names.insert(entry.path().filename().string());
        return names;
    }

    fs::path folder_;
};

// A file the writer made and could not finish goes, so that no broken
// image is left for a reader to trip over; the failure says why.
TEST_F(PngFileWriter, AFileThatCannotBeFinishedIsRemoved) {
    // Refused by libpng after the file was made.
    EXPECT_EQ(WritePng(Pattern(FormatRGB888), Name("refused.png"), 42), 0);
    TFileSizeLimit limit(100000);
    try {
        WritePng(Pattern(FormatRGBA8888, 400, 300), Name("big.png"), 0);
        ADD_FAILURE() << "the write went through";
    } catch (const TStreamWriteError& failure) {
        EXPECT_EQ(failure.Message(), "Error writing to stream");
        EXPECT_EQ(failure.Reason(), std::strerror(EFBIG));
    }
    EXPECT_EQ(CurrentPngStream(), nullptr);
    // Small enough for the C library's buffer: the failure shows only when
    // the file is closed.
    TFileSizeLimit tighter(20);
    EXPECT_THROW(WritePng(Pattern(FormatRGBA8888), Name("small.png"), 0), TStreamWriteError);
    EXPECT_TRUE(Files().empty());
}

// Only what the write made is removed: a file that was there stays.
TEST_F(PngFileWriter, AFileThatWasThereBeforeIsKept) {
    std::ofstream(folder_ / "old.png") << "an older frame";
    TFileSizeLimit limit(100000);
    EXPECT_THROW(WritePng(Pattern(FormatRGBA8888, 400, 300), Name("old.png"), 0), TStreamWriteError);
    EXPECT_EQ(Files(), std::set<std::string>{"old.png"});
}

}  // namespace
}  // namespace vesk
