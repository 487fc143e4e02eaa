// SDL's events as window messages, and SDL's keys as virtual-key codes:
// the translation every SDL-based platform driver feeds to the input filter.
#pragma once

#include <vesk/system/messages.h>

#include <SDL.h>

#include <cstdint>
#include <vector>

namespace vesk {

// The messages that one SDL event stands for, in the order the platform
// would deliver them (a key press may add a character message).
std::vector<TMessage> TranslateSDLEvent(const SDL_Event& event);

// A key's virtual-key code, set-1 scan code and extended flag.
struct TKeyCode {
    uint32_t virtualKey = 0;
    uint32_t scanCode = 0;
    bool extended = false;
};
TKeyCode LookupSDLKey(const SDL_Keysym& key);

}  // namespace vesk
