// The show tap: run inside a delivered program (the intro as it ships), it
// keeps chosen frames, ends the program the way a press of Escape would, and
// times the run, so that two builds of the program can be compared frame
// for frame and measured side by side.
//
// On the fixed clock (the default) the clock stands still between buffer
// swaps and moves on 20 ms at each, and sleeps return at once: every frame's
// picture then depends only on how many swaps came before it, never on how
// fast the machine is. On the real clock the program keeps its own clock and
// sleeps, and the tap only watches.
//
// Set up through the environment of the program:
//   VESK_TAP_DIR      where the kept frames and the report go (required;
//                     without it the tap stays out of the way)
//   VESK_TAP_CLOCK    "fixed" (the default) or "real"
//   VESK_TAP_FRAMES   the numbers of the swaps whose frames are kept,
//                     counted from 0 and separated by commas; each becomes
//                     frame-<number>.ppm (binary PPM of the window's pixels)
//   VESK_TAP_END      the swap after which the program is asked to end
//   VESK_TAP_SHOW     the swap of the show's first frame (62: two clearing
//                     swaps and sixty of refresh calibration come first)
//   VESK_TAP_SECONDS  how long the show runs, from its first frame, before
//                     the program is asked to end (on either clock)
// When the tap asks the program to end it leaves report.txt: the wall-clock
// time of the show's first frame (milliseconds since 1970), and from there to
// the end the frames presented after the first, the seconds and the
// processor seconds the program used.
#pragma once

#include <cstdint>

namespace vesk::tap {

// The program's clock, in milliseconds.
std::uint32_t Clock();
// Whether the program's sleeps are to be skipped.
bool SkipSleeps();
// Before a swap: keeps the frame in the back buffer when it is one asked for.
// The program's GL context is current.
void BeforeSwap();
// After a swap: true exactly once, when the program is to be asked to end.
bool AfterSwap();
// Whether the tap is set up.
bool Active();
// Writes the report.
void Report();

// From the platform shim: wall-clock milliseconds since 1970, the program's
// own millisecond clock, and the processor time the process has used.
std::uint64_t WallMs();
std::uint32_t ProgramClock();
double ProcessorSeconds();

}  // namespace vesk::tap
