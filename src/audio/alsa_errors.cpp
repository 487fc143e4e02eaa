#include "audio/alsa_errors.h"

#include <cstdlib>
#include <cstring>
#include <dlfcn.h>

namespace vesk {
namespace {

// The shape of ALSA's snd_lib_error_handler_t.
extern "C" {
using TAlsaErrorHandler = void (*)(const char* file, int line, const char* function, int error, const char* format,
                                   ...);
using TSetAlsaErrorHandler = int (*)(TAlsaErrorHandler handler);

void DropAlsaError(const char*, int, const char*, int, const char*, ...) {}
}

}  // namespace

void SilenceAlsaErrors() {
    static bool done = false;
    if (done) return;
    done = true;
    // Only where SDL may choose ALSA: no driver named, or ALSA among them.
    const char* asked = std::getenv("SDL_AUDIODRIVER");
    if (asked && *asked && !strcasestr(asked, "alsa")) return;
    // Kept loaded for good: SDL opens the same library later and must find
    // the handler still in place.
    void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!library) return;
    auto setHandler = reinterpret_cast<TSetAlsaErrorHandler>(dlsym(library, "snd_lib_error_set_handler"));
    if (setHandler) setHandler(DropAlsaError);
}

}  // namespace vesk
