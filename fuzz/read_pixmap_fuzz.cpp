// ReadPixmap over a memory buffer: the whole reader registry (TGA first, then
// PNG) gets the same bytes, each from the start, through the buffer opener.
#include "fuzz_input.h"
#include "pixmap_checks.h"
#include <vesk/pixmap/png_file.h>
#include <vesk/pixmap/tga_reader.h>
#include <vesk/stream/buffer.h>
#include <vesk/stream/opening.h>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vesk::InitTgaModule();
    vesk::fuzz::HandSignalsToFuzzer();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk;
    TBufferRef buffer = TMemoryBuffer::OverMemory(const_cast<uint8_t*>(data), static_cast<int32_t>(size));
    fuzz::CheckPixmap(ReadPixmap(buffer));
    VESK_FUZZ_CHECK(CurrentPngStream() == nullptr);
    // The source stays what it was: the readers only read.
    VESK_FUZZ_CHECK(buffer->Data() == data && buffer->Size() == static_cast<int32_t>(size));
    return 0;
}
