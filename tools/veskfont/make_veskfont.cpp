// Turns the readable glyph source of the built-in text font into its
// 1536-byte bitmap: 16 rows of 96 bytes, row 0 first; byte r * 96 + g holds
// pixel row r of the glyph for character 32 + g, bit k being column k (the
// least significant bit is the leftmost pixel). The source is checked
// against the rules every glyph keeps (empty border rows and left column, an
// empty space), so a slip in the drawing fails the build instead of making
// characters touch.
#include <array>
#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kFirstChar = 32;
constexpr int kGlyphCount = 96;
constexpr int kRows = 16;
constexpr int kColumns = 8;

using TGlyph = std::array<uint8_t, kRows>;

struct TSource {
    std::ifstream in;
    std::string path;
    int lineNumber = 0;

    // The next line that is neither empty nor a comment; false at the end.
    bool NextLine(std::string& line) {
        while (std::getline(in, line)) {
            ++lineNumber;
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
            if (!line.empty() && line[0] != ';') return true;
        }
        return false;
    }

    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error(path + ":" + std::to_string(lineNumber) + ": " + what);
    }
};

uint8_t ParseRow(TSource& source, const std::string& line) {
    if (line.size() != kColumns) source.Fail("a glyph row has 8 pixels");
    uint8_t bits = 0;
    for (int k = 0; k < kColumns; ++k) {
        if (line[k] == '#') bits |= static_cast<uint8_t>(1u << k);
        else if (line[k] != '.') source.Fail("pixels are '#' or '.'");
    }
    return bits;
}

int ParseHeader(TSource& source, const std::string& line) {
    std::istringstream words(line);
    std::string keyword;
    int code = -1;
    if (!(words >> keyword >> code) || keyword != "glyph") source.Fail("expected \"glyph <code>\"");
    if (code < kFirstChar || code >= kFirstChar + kGlyphCount) source.Fail("character code outside 32 to 127");
    return code;
}

void CheckRules(TSource& source, int code, const TGlyph& glyph) {
    const int empty[] = {0, 13, 14, 15};
    for (int row : empty) {
        if (glyph[row] != 0) source.Fail("glyph " + std::to_string(code) + ": rows 0, 13, 14 and 15 stay empty");
    }
    for (uint8_t bits : glyph) {
        if (bits & 1) source.Fail("glyph " + std::to_string(code) + ": column 0 stays empty");
    }
    if (code == kFirstChar) {
        for (uint8_t bits : glyph) {
            if (bits) source.Fail("the space is empty");
        }
    }
}

std::vector<TGlyph> ReadGlyphs(TSource& source) {
    std::vector<TGlyph> glyphs(kGlyphCount);
    std::vector<bool> seen(kGlyphCount, false);
    std::string line;
    while (source.NextLine(line)) {
        const int code = ParseHeader(source, line);
        const int index = code - kFirstChar;
        if (seen[index]) source.Fail("glyph " + std::to_string(code) + " drawn twice");
        seen[index] = true;
        for (int row = 0; row < kRows; ++row) {
            if (!source.NextLine(line)) source.Fail("a glyph has 16 rows");
            glyphs[index][row] = ParseRow(source, line);
        }
        CheckRules(source, code, glyphs[index]);
    }
    for (int index = 0; index < kGlyphCount; ++index) {
        if (!seen[index]) source.Fail("glyph " + std::to_string(kFirstChar + index) + " is missing");
    }
    return glyphs;
}

std::vector<uint8_t> PackBitmap(const std::vector<TGlyph>& glyphs) {
    std::vector<uint8_t> bytes(kRows * kGlyphCount);
    for (int row = 0; row < kRows; ++row) {
        for (int g = 0; g < kGlyphCount; ++g) bytes[row * kGlyphCount + g] = glyphs[g][row];
    }
    return bytes;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: vesk_make_veskfont <glyphs.txt> <veskfont.bin>\n";
        return 2;
    }
    try {
        TSource source;
        source.path = argv[1];
        source.in.open(source.path);
        if (!source.in) throw std::runtime_error(source.path + ": cannot be read");
        const std::vector<uint8_t> bytes = PackBitmap(ReadGlyphs(source));
        // Written beside the target and renamed into place, so that an
        // interrupted build never leaves a short bitmap that looks current.
        const std::string partial = std::string(argv[2]) + ".partial";
        {
            std::ofstream out(partial, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            if (!out.flush()) throw std::runtime_error(partial + ": cannot be written");
        }
        // The file system's rename replaces an older bitmap on Windows too,
        // where the C library's rename refuses to.
        std::error_code renamed;
        std::filesystem::rename(partial, argv[2], renamed);
        if (renamed) throw std::runtime_error(std::string(argv[2]) + ": cannot be written");
    } catch (const std::exception& failure) {
        std::cerr << failure.what() << "\n";
        return 1;
    }
    return 0;
}
