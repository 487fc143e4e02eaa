// One question and answer on the program's own console, where the platform
// has one that does not speak UTF-8 through the standard streams.
#pragma once

#include <vesk/runtime/text.h>

namespace vesk {

enum class TConsoleAnswer {
    NoConsole,  // not asked: the standard streams carry the question
    Answered,   // `line` holds what was typed, without its line end
    Closed,     // the console's input has ended
};

TConsoleAnswer AskOnConsole(const Text& prompt, Text& line);

}  // namespace vesk
