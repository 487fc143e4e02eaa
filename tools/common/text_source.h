// Reading the readable asset sources: plain text, one statement a line,
// ";" starting a comment (text art uses "#" as ink and notes use it as sharp).
#pragma once

#include <string>
#include <vector>

namespace vesk::assetgen {

struct SourceLine {
    int number = 0;    // 1-based, for messages
    std::string text;  // comment and trailing white space removed
};

// Non-empty lines of the file; raises std::runtime_error if it cannot be read.
std::vector<SourceLine> ReadSourceLines(const std::string& path);
// The same for a source already in memory.
std::vector<SourceLine> SplitSourceLines(const std::string& text);
// White-space separated words.
std::vector<std::string> SplitWords(const std::string& text);
// A message naming the file's line, for std::runtime_error.
std::string AtLine(const SourceLine& line, const std::string& what);

}  // namespace vesk::assetgen
