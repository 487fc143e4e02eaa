// Windows: work that must be done even when the process ends at once, from a
// fault or a console control event, before the exit handlers could run. The
// window layer registers the return of the desktop's display mode here.
#pragma once

namespace vesk {

// Runs `cleanup` whenever the process ends at once (a structured exception
// that nothing handles, a console control event, a fatal C signal). It runs
// on whichever thread ends the process, so it must be safe there; the last
// registration wins, and null removes it.
void SetWin32EndingCleanup(void (*cleanup)());

}  // namespace vesk
