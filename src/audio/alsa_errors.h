// ALSA's library writes its own errors to standard error. Without a sound
// card every start would print a screenful of them before the silent driver
// takes over, so the engine gives the library a handler that drops them.
#pragma once

namespace vesk {

// Installs the silent handler in ALSA's library, loaded at run time so that
// no ALSA headers or link-time library are needed; where there is no ALSA,
// nothing happens. Safe to call more than once.
void SilenceAlsaErrors();

}  // namespace vesk
