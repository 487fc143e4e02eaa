// The stream subsystem's start-up: the openers that live for the process.
#include <vesk/runtime/startup.h>
#include <vesk/stream/buffer_stream.h>
#include "stream/embedded_opener.h"
#include <vesk/stream/opening.h>

namespace vesk {

// The buffer opener is made first so that it is asked last: it serves any
// buffer whatever the name, and protocol openers must get their chance.
void InitStreamModule() {
    static bool initialised = false;
    if (initialised) return;
    initialised = true;
    InitRuntimeModule();
    static TBufferOpener bufferOpener;
    static TEmbeddedOpener embeddedOpener;
}

}  // namespace vesk
