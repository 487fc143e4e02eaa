// A Windows console reads and writes text in its own code page, so the
// requesters' UTF-8 would come out garbled and typed letters beyond ASCII
// would not read back. When both standard handles are a console, and the
// program has not pointed the C++ streams elsewhere, the question and the
// answer go through the console's UTF-16 calls instead. Redirected handles
// carry UTF-8 bytes, as on other systems.
#include "system/console_line.h"

#include <iostream>

#include "system/win32_api.h"

namespace vesk {
namespace {

std::streambuf* const standardOutput = std::cout.rdbuf();
std::streambuf* const standardInput = std::cin.rdbuf();

bool IsConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

}  // namespace

TConsoleAnswer AskOnConsole(const Text& prompt, Text& line) {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    if (std::cout.rdbuf() != standardOutput || std::cin.rdbuf() != standardInput) return TConsoleAnswer::NoConsole;
    if (!IsConsole(output) || !IsConsole(input)) return TConsoleAnswer::NoConsole;
    std::cout.flush();
    DWORD count = 0;
    WriteConsoleW(output, prompt.data(), static_cast<DWORD>(prompt.size()), &count, nullptr);
    line.clear();
    wchar_t unit = 0;
    // One unit at a time, so the line ends exactly at its line end.
    while (ReadConsoleW(input, &unit, 1, &count, nullptr) && count == 1) {
        if (unit == L'\n') return TConsoleAnswer::Answered;
        if (unit != L'\r') line.push_back(static_cast<char16_t>(unit));
    }
    return line.empty() ? TConsoleAnswer::Closed : TConsoleAnswer::Answered;
}

}  // namespace vesk
