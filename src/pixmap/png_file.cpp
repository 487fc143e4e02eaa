#include <vesk/pixmap/png_file.h>

#include "pixmap/png_io.h"
#include <vesk/stream/opening.h>

#include <climits>
#include <cstring>
#include <vector>

namespace vesk {
namespace {

using namespace png_io;

// 8 signature bytes, then STRIP_16 | EXPAND: 16-bit samples become 8-bit,
// palettes become RGB (with alpha when they carry transparency), low-depth
// grey becomes 8-bit grey and a transparency chunk adds an alpha channel.
constexpr int kSignatureBytes = 8;
constexpr int kReadTransforms = PNG_TRANSFORM_STRIP_16 | PNG_TRANSFORM_EXPAND;

// libpng's state for one operation. Everything that must survive a longjmp
// back to the setjmp point lives here, in plain memory, and nothing with a
// destructor lives in the frames that libpng may jump across.
struct TPngJob {
    png_structp png = nullptr;
    png_infop info = nullptr;
    // Read results.
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int bitDepth = 0;
    int colourType = 0;
    TPngBudget budget;  // reading only
    // Write settings.
    png_bytepp rows = nullptr;
    int level = 0;
    int transform = 0;
};

// Returns false when libpng reported an error (its own or a parked stream
// failure); job.png and job.info are then still to be destroyed.
bool RunRead(TPngJob& job) {
    job.png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning, &job.budget,
                                       AllocateWithinBudget, FreeWithinBudget);
    if (!job.png) return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info) return false;
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_set_sig_bytes(job.png, kSignatureBytes);
    png_set_read_fn(job.png, nullptr, ReadData);
    png_read_png(job.png, job.info, kReadTransforms, nullptr);
    png_get_IHDR(job.png, job.info, &job.width, &job.height, &job.bitDepth, &job.colourType, nullptr, nullptr,
                 nullptr);
    return true;
}

bool RunWrite(TPngJob& job) {
    job.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, OnError, OnWarning);
    if (!job.png) return false;
    job.info = png_create_info_struct(job.png);
    if (!job.info) return false;
    if (setjmp(png_jmpbuf(job.png))) return false;
    png_set_write_fn(job.png, nullptr, WriteData, FlushData);
    png_set_compression_level(job.png, job.level);
    png_set_IHDR(job.png, job.info, job.width, job.height, 8, job.colourType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_rows(job.png, job.info, job.rows);
    png_write_png(job.png, job.info, job.transform, nullptr);
    return true;
}

int32_t FormatForColourType(int colourType) {
    switch (colourType) {
    case PNG_COLOR_TYPE_GRAY: return FormatI8;
    case PNG_COLOR_TYPE_RGB: return FormatRGB888;
    case PNG_COLOR_TYPE_RGB_ALPHA: return FormatRGBA8888;
    // No pixmap format holds grey with alpha: it widens to RGBA.
    case PNG_COLOR_TYPE_GRAY_ALPHA: return FormatRGBA8888;
    default: return FormatNone;
    }
}

// Each (grey, alpha) pair becomes the pixel (grey, grey, grey, alpha).
void WidenGreyAlpha(const png_byte* row, uint8_t* out, int32_t width) {
    for (int32_t x = 0; x < width; ++x, row += 2, out += 4) out[0] = out[1] = out[2] = row[0], out[3] = row[1];
}

// Pixmap sizes are signed 32-bit byte counts; larger images are declined.
bool FitsPixmap(png_uint_32 width, png_uint_32 height, int32_t format) {
    long long pitch = (static_cast<long long>(width) * FormatEntry(BytesPerPixel, format) + 3) / 4 * 4;
    return pitch * height <= INT32_MAX;
}

TPixmapRef CopyRows(const TPngJob& job) {
    int32_t format = FormatForColourType(job.colourType);
    if (job.bitDepth != 8 || format == FormatNone || !FitsPixmap(job.width, job.height, format)) return nullptr;
    auto width = static_cast<int32_t>(job.width), height = static_cast<int32_t>(job.height);
    TPixmapRef pixmap = TPixmap::Create(width, height, format, 4);
    png_bytepp rows = png_get_rows(job.png, job.info);
    for (int32_t y = 0; y < height; ++y) {
        if (job.colourType == PNG_COLOR_TYPE_GRAY_ALPHA) WidenGreyAlpha(rows[y], pixmap->PixelAddress(0, y), width);
        else CopyPixelRun(rows[y], pixmap->PixelAddress(0, y), format, width);
    }
    return pixmap;
}

bool HasSignature(TByteStream& stream) {
    png_byte signature[kSignatureBytes] = {};
    stream.ReadExact(signature, kSignatureBytes);
    return png_sig_cmp(signature, 0, kSignatureBytes) == 0;
}

// The colour type and transform for a pixmap's format; formats libpng cannot
// take as they are (FormatA8, unknown values) are written from an RGBA copy.
struct TWriteLayout {
    TPixmapRef source;
    int colourType;
    int transform;
};

TWriteLayout ChooseLayout(const TPixmapRef& pixmap) {
    switch (pixmap->format) {
    case FormatI8: return {pixmap, PNG_COLOR_TYPE_GRAY, PNG_TRANSFORM_IDENTITY};
    case FormatRGB888: return {pixmap, PNG_COLOR_TYPE_RGB, PNG_TRANSFORM_IDENTITY};
    case FormatBGR888: return {pixmap, PNG_COLOR_TYPE_RGB, PNG_TRANSFORM_BGR};
    case FormatRGBA8888: return {pixmap, PNG_COLOR_TYPE_RGB_ALPHA, PNG_TRANSFORM_IDENTITY};
    case FormatBGRA8888: return {pixmap, PNG_COLOR_TYPE_RGB_ALPHA, PNG_TRANSFORM_BGR};
    default: return {pixmap->Convert(FormatRGBA8888), PNG_COLOR_TYPE_RGB_ALPHA, PNG_TRANSFORM_IDENTITY};
    }
}

std::vector<png_bytep> RowAddresses(const TPixmap& pixmap) {
    std::vector<png_bytep> rows(pixmap.height > 0 ? pixmap.height : 0);
    for (int32_t y = 0; y < pixmap.height; ++y) rows[y] = pixmap.PixelAddress(0, y);
    return rows;
}

// A file the write made and could not finish is removed, so that a failure
// leaves nothing behind; the system's reason goes with the failure. The
// file is closed already, so what its last flush met is known.
void FinishFile(TFileStream& file, bool written) {
    const int error = file.ErrorNumber();
    if (written && error == 0) return;
    file.RemoveIfCreated();
    if (error == 0) return;
    ForgetParkedFailure();
    throw TStreamWriteError(std::strerror(error));
}

}  // namespace

TPixmapRef TPngReader::Decode(const TStreamRef& stream) { return ReadPng(stream); }

TPixmapRef ReadPng(const TUrl& url) {
    TPixmapRef result;
    {
        TStreamScope scope(OpenForReading(url));
        if (!scope || !HasSignature(scope.Stream())) return nullptr;
        TPngJob job;
        job.budget = ReadBudget(scope.Stream());
        if (RunRead(job)) result = CopyRows(job);
        png_destroy_read_struct(&job.png, &job.info, nullptr);
    }
    RaiseParkedFailure();
    return result;
}

int WritePng(const TPixmapRef& pixmap, const TUrl& url, int level) {
    bool written = false;
    std::shared_ptr<TFileStream> file;
    {
        TStreamScope scope(OpenForWriting(url));
        if (!scope) return 0;
        file = std::dynamic_pointer_cast<TFileStream>(CurrentPngStream());
        TWriteLayout layout = ChooseLayout(pixmap);
        std::vector<png_bytep> rows = RowAddresses(*layout.source);
        TPngJob job;
        job.width = static_cast<png_uint_32>(layout.source->width);
        job.height = static_cast<png_uint_32>(layout.source->height);
        job.colourType = layout.colourType;
        job.transform = layout.transform;
        job.level = level;
        job.rows = rows.data();
        written = RunWrite(job);
        png_destroy_write_struct(&job.png, &job.info);
    }
    if (file) FinishFile(*file, written);
    RaiseParkedFailure();
    return written ? 1 : 0;
}

void InitPngModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitPixmapModule();
    InitStreamModule();
    static TPngReader* reader = new TPngReader;  // registered for the whole process
    (void)reader;
}

}  // namespace vesk
