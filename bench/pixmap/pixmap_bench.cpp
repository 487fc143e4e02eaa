// The recording build writes one 768 x 576 RGBA frame per PNG at level 0, so
// WritePng's own cost on top of libpng's matters; the intro's picture is a
// 450 x 104 24-bit TGA decoded at start-up. Both are measured against a
// memory buffer so that no disk time is counted.
#include <vesk/pixmap/png_file.h>
#include <vesk/pixmap/tga_reader.h>

#include <vesk/stream/buffer.h>
#include <vesk/stream/buffer_stream.h>

#include <benchmark/benchmark.h>
#include <png.h>

#include <cstring>
#include <vector>

namespace vesk {
namespace {

constexpr int kFrameWidth = 768, kFrameHeight = 576;
constexpr int kPictureWidth = 450, kPictureHeight = 104;

// A frame with gradients and some fine detail, so that the filters have real
// work to choose between.
TPixmapRef MakeFrame() {
    auto frame = TPixmap::Create(kFrameWidth, kFrameHeight, FormatRGBA8888, 4);
    uint32_t seed = 12345;
    for (int y = 0; y < kFrameHeight; ++y) {
        for (int x = 0; x < kFrameWidth; ++x) {
            seed = seed * 1103515245 + 12345;
            uint8_t* p = frame->PixelAddress(x, y);
            p[0] = static_cast<uint8_t>(x / 3), p[1] = static_cast<uint8_t>(y / 3);
            p[2] = (seed >> 24) < 16 ? 255 : static_cast<uint8_t>((x ^ y) & 0x3F);
            p[3] = 255;
        }
    }
    return frame;
}

std::vector<uint8_t> MakePictureFile() {
    std::vector<uint8_t> file = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                 kPictureWidth & 0xFF, kPictureWidth >> 8, kPictureHeight, 0, 24, 0};
    for (int i = 0; i < kPictureWidth * kPictureHeight; ++i) {
        file.push_back(static_cast<uint8_t>(i));
        file.push_back(static_cast<uint8_t>(i >> 3));
        file.push_back(static_cast<uint8_t>(i >> 7));
    }
    return file;
}

void BM_WritePngLevel0(benchmark::State& state) {
    InitPngModule();
    auto frame = MakeFrame();
    auto stream = OpenBufferStream(nullptr);
    for (auto _ : state) {
        stream->Seek(0);
        if (WritePng(frame, stream, 0) != 1) state.SkipWithError("WritePng failed");
    }
    state.counters["bytes"] = stream->Size();
}
BENCHMARK(BM_WritePngLevel0)->Unit(benchmark::kMillisecond);

// The same image and settings straight through libpng into a vector.
void AppendToVector(png_structp png, png_bytep data, size_t length) {
    auto out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void FlushNothing(png_structp) {}

bool PlainLibpngWrite(const TPixmap& frame, std::vector<uint8_t>& out, std::vector<png_bytep>& rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, AppendToVector, FlushNothing);
    png_set_compression_level(png, 0);
    png_set_IHDR(png, info, frame.width, frame.height, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

void BM_PlainLibpngLevel0(benchmark::State& state) {
    auto frame = MakeFrame();
    std::vector<png_bytep> rows(kFrameHeight);
    for (int y = 0; y < kFrameHeight; ++y) rows[y] = frame->PixelAddress(0, y);
    std::vector<uint8_t> out;
    for (auto _ : state) {
        out.clear();
        if (!PlainLibpngWrite(*frame, out, rows)) state.SkipWithError("libpng failed");
    }
    state.counters["bytes"] = static_cast<double>(out.size());
}
BENCHMARK(BM_PlainLibpngLevel0)->Unit(benchmark::kMillisecond);

void BM_DecodeTga450x104(benchmark::State& state) {
    auto buffer = TMemoryBuffer::Allocate(0);
    auto file = MakePictureFile();
    buffer->Resize(static_cast<int32_t>(file.size()));
    std::memcpy(buffer->Data(), file.data(), file.size());
    auto stream = OpenBufferStream(buffer);
    for (auto _ : state) {
        stream->Seek(0);
        auto pixmap = DecodeTga(*stream);
        if (!pixmap) state.SkipWithError("decode failed");
        benchmark::DoNotOptimize(pixmap->pixels);
    }
}
BENCHMARK(BM_DecodeTga450x104)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
