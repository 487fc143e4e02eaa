// make_font: draws the scroller's font sheet from the text-art face in
// assets/font. Usage: make_font <glyphs.txt> <out.tga>
//
// The sheet is 320 x 200 pixels of 16 x 13 cells, 20 to a row, holding the
// intro's character map in order. Every glyph gets a vertical colour ramp,
// a lit top edge, a shaded bottom edge and a one-pixel dark outline; cells
// without a glyph (space, the lower-case control letters) and everything
// outside the glyphs stay magenta, the sheet's transparent colour.
#include <exception>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/colour_ramp.h"
#include "common/file_output.h"
#include "common/text_source.h"
#include "common/tga_writer.h"

namespace vesk::assetgen {
namespace {

constexpr int kSheetWidth = 320;
constexpr int kSheetHeight = 200;
constexpr int kCellWidth = 16;
constexpr int kCellHeight = 13;
constexpr Rgb kMagenta{255, 0, 255};
const std::string kCharMap =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.:'\"?!_- abcdefghijklmnopqrstuvwxyz";

struct Face {
    int artWidth = 12;
    int artHeight = 11;
    int originX = 2;
    int originY = 1;
    Rgb outline{16, 8, 40};
    Rgb light{255, 255, 255};
    Rgb shade{0, 0, 0};
    ColourRamp ramp;
    std::map<char, std::vector<std::string>> glyphs;
};

int ToInt(const std::string& word) { return std::stoi(word); }

void ReadSetting(Face& face, const SourceLine& line, const std::vector<std::string>& w) {
    if (w[0] == "size" && w.size() == 3) {
        face.artWidth = ToInt(w[1]);
        face.artHeight = ToInt(w[2]);
    } else if (w[0] == "origin" && w.size() == 3) {
        face.originX = ToInt(w[1]);
        face.originY = ToInt(w[2]);
    } else if (w[0] == "outline") {
        face.outline = ParseRgb(w, 1);
    } else if (w[0] == "light") {
        face.light = ParseRgb(w, 1);
    } else if (w[0] == "shade") {
        face.shade = ParseRgb(w, 1);
    } else if (w[0] == "ramp" && w.size() == 5) {
        face.ramp.AddStop(ToInt(w[1]), ParseRgb(w, 2));
    } else {
        throw std::runtime_error(AtLine(line, "unknown setting '" + w[0] + "'"));
    }
}

Face ReadFace(const std::string& path) {
    Face face;
    std::vector<std::string>* art = nullptr;
    for (const SourceLine& line : ReadSourceLines(path)) {
        std::vector<std::string> words = SplitWords(line.text);
        if (words[0] == "glyph" && words.size() == 2 && words[1].size() == 1) {
            art = &face.glyphs[words[1][0]];
        } else if (line.text.find_first_not_of(".#") == std::string::npos) {
            if (art == nullptr || int(line.text.size()) != face.artWidth)
                throw std::runtime_error(
                    AtLine(line, "art row outside a glyph or of the wrong width"));
            art->push_back(line.text);
        } else {
            ReadSetting(face, line, words);
        }
    }
    for (const auto& [ch, rows] : face.glyphs)
        if (int(rows.size()) != face.artHeight)
            throw std::runtime_error(std::string("glyph ") + ch + " has the wrong number of rows");
    return face;
}

bool Ink(const std::vector<std::string>& art, int x, int y) {
    if (y < 0 || y >= int(art.size()) || x < 0 || x >= int(art[y].size())) return false;
    return art[y][x] == '#';
}

bool NextToInk(const std::vector<std::string>& art, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            if (Ink(art, x + dx, y + dy)) return true;
    return false;
}

Rgb InkColour(const Face& face, const std::vector<std::string>& art, int x, int y) {
    Rgb colour = face.ramp.At(y);
    if (!Ink(art, x, y - 1)) return Mix(colour, face.light, 128);
    if (!Ink(art, x, y + 1)) return Mix(colour, face.shade, 96);
    if (!Ink(art, x - 1, y)) return Mix(colour, face.light, 48);
    return colour;
}

// Ink must never be taken for the transparent colour.
Rgb Opaque(Rgb colour) {
    if (colour == kMagenta) colour.g = 1;
    return colour;
}

void DrawGlyph(Picture& sheet, const Face& face, const std::vector<std::string>& art, int cellX,
               int cellY) {
    for (int y = -1; y <= face.artHeight; ++y) {
        for (int x = -1; x <= face.artWidth; ++x) {
            int px = cellX + face.originX + x;
            int py = cellY + face.originY + y;
            if (px < cellX || py < cellY || px >= cellX + kCellWidth || py >= cellY + kCellHeight)
                continue;
            if (Ink(art, x, y))
                sheet.At(px, py) = Opaque(InkColour(face, art, x, y));
            else if (NextToInk(art, x, y))
                sheet.At(px, py) = Opaque(face.outline);
        }
    }
}

Picture DrawSheet(const Face& face) {
    Picture sheet(kSheetWidth, kSheetHeight, kMagenta);
    for (std::size_t k = 0; k < kCharMap.size(); ++k) {
        char ch = kCharMap[k];
        auto glyph = face.glyphs.find(ch);
        bool visible = ch != ' ' && !(ch >= 'a' && ch <= 'z');
        if (visible && glyph == face.glyphs.end())
            throw std::runtime_error(std::string("no glyph for ") + ch);
        if (!visible) continue;
        int cellX = int(k) * kCellWidth % kSheetWidth;
        int cellY = int(k) * kCellWidth / kSheetWidth * kCellHeight;
        DrawGlyph(sheet, face, glyph->second, cellX, cellY);
    }
    return sheet;
}

}  // namespace
}  // namespace vesk::assetgen

int main(int argc, char** argv) {
    using namespace vesk::assetgen;
    if (argc != 3) {
        std::cerr << "usage: make_font <glyphs.txt> <out.tga>\n";
        return 2;
    }
    try {
        WriteFile(argv[2], EncodeTga(DrawSheet(ReadFace(argv[1]))));
    } catch (const std::exception& e) {
        std::cerr << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    return 0;
}
