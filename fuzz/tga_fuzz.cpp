// The TGA decoder on arbitrary bytes: it must decline or decode, never read
// or write outside its row buffers or the pixmap, whatever the packets say.
#include "fuzz_input.h"
#include "pixmap_checks.h"
#include <vesk/pixmap/tga_reader.h>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vesk::InitPixmapModule();
    vesk::fuzz::HandSignalsToFuzzer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk;
    auto stream = fuzz::InputStream(data, size);
    try {
        fuzz::CheckPixmap(DecodeTga(*stream));
    } catch (const TStreamError&) {
        // A stream failure is a decline.
    }
    return 0;
}
