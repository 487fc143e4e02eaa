#include "common/text_source.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vesk::assetgen {

namespace {

std::string StripComment(const std::string& raw) { return raw.substr(0, raw.find(';')); }

std::string TrimRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.pop_back();
    return text;
}

std::vector<SourceLine> ReadSourceLines(std::istream& in) {
    std::vector<SourceLine> lines;
    std::string raw;
    for (int number = 1; std::getline(in, raw); ++number) {
        std::string text = TrimRight(StripComment(raw));
        if (text.find_first_not_of(" \t") != std::string::npos) lines.push_back({number, text});
    }
    return lines;
}

}  // namespace

std::vector<SourceLine> ReadSourceLines(const std::string& path) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot read " + path);
    return ReadSourceLines(file);
}

std::vector<SourceLine> SplitSourceLines(const std::string& text) {
    std::istringstream in(text);
    return ReadSourceLines(in);
}

std::vector<std::string> SplitWords(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

std::string AtLine(const SourceLine& line, const std::string& what) {
    return "line " + std::to_string(line.number) + ": " + what;
}

}  // namespace vesk::assetgen
