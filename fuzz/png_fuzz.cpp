// ReadPng on arbitrary bytes: null or a pixmap, libpng's state released and
// the module's current stream cleared either way.
#include "fuzz_input.h"
#include "pixmap_checks.h"
#include <vesk/pixmap/png_file.h>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vesk::InitPngModule();
    vesk::fuzz::HandSignalsToFuzzer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk;
    TStreamRef stream = fuzz::InputStream(data, size);
    try {
        fuzz::CheckPixmap(ReadPng(stream));
    } catch (const TStreamError&) {
    }
    VESK_FUZZ_CHECK(CurrentPngStream() == nullptr);
    return 0;
}
