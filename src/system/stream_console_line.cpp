// On POSIX systems and in a browser the standard streams are the console and
// carry UTF-8, so the requesters use them directly.
#include "system/console_line.h"

namespace vesk {

TConsoleAnswer AskOnConsole(const Text&, Text&) { return TConsoleAnswer::NoConsole; }

}  // namespace vesk
