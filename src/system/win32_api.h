// The Windows API for the engine's win32_* back ends. The engine names the
// window messages and virtual keys itself (<vesk/system/messages.h>) with
// the same numbers that <windows.h> gives them as macros; its header must
// come first, or the macros would replace the names inside it. Include this
// after every other header.
#pragma once

#include <vesk/system/messages.h>

#include <windows.h>
