// Console-text versions of the requesters: the question goes to standard
// output and the answer comes from standard input. An empty or closed input
// gives the negative answer.
#include <vesk/system/platform.h>

#include "system/console_line.h"

#include <iostream>
#include <string>

namespace vesk {
namespace {

std::string AskLine(const Text& prompt) {
    Text typed;
    switch (AskOnConsole(prompt, typed)) {
    case TConsoleAnswer::Answered: return TextToUtf8(typed);
    case TConsoleAnswer::Closed: return {};
    case TConsoleAnswer::NoConsole: break;
    }
    std::cout << TextToUtf8(prompt) << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return {};
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

char FirstLetter(const std::string& answer) {
    for (char c : answer)
        if (c != ' ' && c != '\t') return static_cast<char>(c | 0x20);
    return 0;
}

}  // namespace

void TPlatformDriver::Notify(const Text& text, bool serious) {
    AskLine((serious ? u"Error: " : u"") + text + u" (press Enter) ");
}

bool TPlatformDriver::Confirm(const Text& text, bool) {
    return FirstLetter(AskLine(text + u" (y/n) ")) == 'y';
}

int TPlatformDriver::Proceed(const Text& text, bool) {
    switch (FirstLetter(AskLine(text + u" (y/n/c) "))) {
    case 'y': return 1;
    case 'n': return 0;
    default: return -1;
    }
}

Text TPlatformDriver::RequestFile(const Text& title, const Text& extensions, bool save, const Text& initial) {
    Text prompt = title + (save ? u" (save" : u" (open");
    if (!extensions.empty()) prompt += u", " + extensions;
    if (!initial.empty()) prompt += u", default " + initial;
    std::string answer = AskLine(prompt + u"): ");
    return answer.empty() ? initial : Utf8ToText(answer);
}

Text TPlatformDriver::RequestDir(const Text& title, const Text& initial) {
    Text prompt = title + (initial.empty() ? Text(u": ") : u" (default " + initial + u"): ");
    std::string answer = AskLine(prompt);
    return answer.empty() ? initial : Utf8ToText(answer);
}

}  // namespace vesk
