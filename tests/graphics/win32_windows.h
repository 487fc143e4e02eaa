// Finding the engine's windows in the Windows tests.
#pragma once

#include "graphics/window.h"

#include <cstring>

#include "system/win32_api.h"

namespace vesk::test {

// This test's own window of the engine's class with that title; other test
// programs running beside it have theirs.
inline HWND EngineWindow(const char* title) {
    struct TSearch {
        const char* title;
        HWND found;
    } search{title, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* search = reinterpret_cast<TSearch*>(parameter);
            char className[64] = {}, text[64] = {};
            GetClassNameA(window, className, sizeof(className));
            GetWindowTextA(window, text, sizeof(text));
            if (std::strcmp(className, kWindowClassName) != 0 || std::strcmp(text, search->title) != 0) return TRUE;
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace vesk::test
