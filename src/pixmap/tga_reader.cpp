#include <vesk/pixmap/tga_reader.h>

#include <vesk/pixmap/png_file.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace vesk {
namespace {

constexpr int kRunFlag = 0x80;

// One row at a time: pixels are gathered as bytes B, G, R, A (the
// FormatBGRA8888 layout) and then converted into the pixmap's row. Every
// read lands in zeroed memory first, so bytes missing from a truncated file
// decode as zeros instead of as the previous row's leftovers.
class TTgaRowDecoder {
public:
    TTgaRowDecoder(TByteStream& stream, int depth, int width)
        : stream_(stream), depth_(depth), width_(width), row_(4 * width), bytes_(3 * width) {}

    void ReadRawRow() { ReadPixels(0, width_); }

    // Packets never carry over into the next row: a packet that would run
    // past the row's end is cut there and its surplus bytes are skipped.
    void ReadRunLengthRow() {
        for (int i = 0; i < width_;) {
            int header = stream_.ReadU8();
            int count = (header & kRunFlag) ? header - 127 : header + 1;
            int fit = std::min(count, width_ - i);
            if (header & kRunFlag) {
                ReadRun(i, fit);
            } else {
                ReadPixels(i, fit);
                stream_.Skip((count - fit) * StoredBytes());
            }
            i += fit;
        }
    }

    const uint8_t* Row() const { return row_.data(); }

    // For files stored right to left: the row's first stored pixel is its
    // rightmost.
    void ReverseRow() {
        for (int left = 0, right = width_ - 1; left < right; ++left, --right)
            std::swap_ranges(&row_[4 * left], &row_[4 * left + 4], &row_[4 * right]);
    }

private:
    int StoredBytes() const { return depth_ == 24 ? 3 : depth_ == 32 ? 4 : 2; }

    void ReadPixels(int start, int count) {
        uint8_t* out = &row_[4 * start];
        if (depth_ == 32) {
            ReadZeroed(out, 4 * count);
        } else if (depth_ == 24) {
            ReadZeroed(bytes_.data(), 3 * count);
            for (int k = 0; k < count; ++k) StoreBgr(&bytes_[3 * k], out + 4 * k);
        } else {
            for (int k = 0; k < count; ++k) StoreWord(stream_.ReadU16(), out + 4 * k);
        }
    }

    void ReadRun(int start, int count) {
        uint8_t pixel[4] = {0, 0, 0, 0};
        if (depth_ == 32) {
            stream_.ReadExact(pixel, 4);
        } else if (depth_ == 24) {
            stream_.ReadExact(pixel, 3);
            pixel[3] = 255;
        } else {
            StoreWord(stream_.ReadU16(), pixel);
        }
        for (int k = 0; k < count; ++k) std::memcpy(&row_[4 * (start + k)], pixel, 4);
    }

    void ReadZeroed(uint8_t* buffer, int count) {
        std::memset(buffer, 0, count);
        stream_.ReadExact(buffer, count);
    }

    static void StoreBgr(const uint8_t* bgr, uint8_t* out) {
        out[0] = bgr[0], out[1] = bgr[1], out[2] = bgr[2], out[3] = 255;
    }

    // Five bits per channel, moved to the top of the byte without filling the
    // low bits (full intensity reads 248). In 16-bit files a set top bit
    // means transparent.
    void StoreWord(int v, uint8_t* out) const {
        out[0] = static_cast<uint8_t>((v << 3) & 0xF8);
        out[1] = static_cast<uint8_t>((v >> 2) & 0xF8);
        out[2] = static_cast<uint8_t>((v >> 7) & 0xF8);
        out[3] = (depth_ == 16 && (v & 0x8000)) ? 0 : 255;
    }

    TByteStream& stream_;
    int depth_;
    int width_;
    std::vector<uint8_t> row_;
    std::vector<uint8_t> bytes_;
};

int32_t FormatForDepth(int depth) { return depth == 16 || depth == 32 ? FormatRGBA8888 : FormatRGB888; }

// Past the end of the data every read gives zeros, so once a row starts at
// the end, every row left decodes the same way; copying it keeps a header of
// a few bytes that declares 4096 x 4096 pixels from costing millions of reads.
void CopyRowOn(TPixmap& result, int y, int step) {
    const size_t rowBytes = static_cast<size_t>(result.width) * FormatEntry(BytesPerPixel, result.format);
    for (int rest = y + step; rest >= 0 && rest < result.height; rest += step) {
        std::memcpy(result.PixelAddress(0, rest), result.PixelAddress(0, y), rowBytes);
    }
}

// Rows are stored from the bottom up unless the descriptor says top-down.
void DecodeRows(TByteStream& stream, const TTgaHeader& header, TPixmap& result) {
    TTgaRowDecoder decoder(stream, header.pixelDepth, header.width);
    const bool topDown = (header.descriptor & kTgaTopDown) != 0;
    const int step = topDown ? 1 : -1;
    for (int y = topDown ? 0 : header.height - 1; y >= 0 && y < header.height; y += step) {
        const bool exhausted = stream.AtEnd();
        if (header.imageType == 10) {
            decoder.ReadRunLengthRow();
        } else {
            decoder.ReadRawRow();
        }
        if (header.descriptor & kTgaRightToLeft) decoder.ReverseRow();
        ConvertPixelRun(decoder.Row(), FormatBGRA8888, result.PixelAddress(0, y), result.format, header.width);
        if (exhausted) return CopyRowOn(result, y, step);
    }
}

}  // namespace

TTgaHeader ReadTgaHeader(TByteStream& stream) {
    uint8_t lead[8] = {};
    stream.ReadExact(lead, 8);
    TTgaHeader header;
    header.idLength = lead[0];
    header.colourMapType = lead[1];
    header.imageType = lead[2];
    header.colourMapStart = static_cast<uint16_t>(lead[3] | lead[4] << 8);
    header.colourMapLength = static_cast<uint16_t>(lead[5] | lead[6] << 8);
    header.colourMapDepth = lead[7];
    header.xOrigin = static_cast<uint16_t>(stream.ReadU16());
    header.yOrigin = static_cast<uint16_t>(stream.ReadU16());
    header.width = static_cast<uint16_t>(stream.ReadU16());
    header.height = static_cast<uint16_t>(stream.ReadU16());
    header.pixelDepth = static_cast<uint8_t>(stream.ReadU8());
    header.descriptor = static_cast<uint8_t>(stream.ReadU8());
    return header;
}

bool AcceptTgaHeader(const TTgaHeader& header) {
    int depth = header.pixelDepth, type = header.imageType;
    return header.colourMapType == 0 && (type == 1 || type == 2 || type == 10) &&
           (depth == 15 || depth == 16 || depth == 24 || depth == 32) && header.width >= 1 &&
           header.width <= 4096 && header.height >= 1 && header.height <= 4096;
}

TPixmapRef TTgaReader::Decode(const TStreamRef& stream) { return DecodeTga(*stream); }

TPixmapRef DecodeTga(TByteStream& stream) {
    TTgaHeader header = ReadTgaHeader(stream);
    if (!AcceptTgaHeader(header)) return nullptr;
    TPixmapRef result = TPixmap::Create(header.width, header.height, FormatForDepth(header.pixelDepth), 4);
    for (int i = 0; i < header.idLength; ++i) stream.ReadU8();
    if (header.imageType == 1) {
        // Colour-mapped files carry no map here, so there is nothing to
        // decode; the picture is left defined as all zeros.
        std::memset(result->pixels, 0, result->capacity);
    } else {
        DecodeRows(stream, header, *result);
    }
    return result;
}

void InitTgaModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitPngModule();
    static TTgaReader* reader = new TTgaReader;  // registered for the whole process
    (void)reader;
}

}  // namespace vesk
