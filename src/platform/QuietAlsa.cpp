#include "platform/QuietAlsa.h"

#include <dlfcn.h>

namespace {

// snd_lib_error_handler_t: the file, line, function and error of ALSA's
// message, then its printf format and arguments.
using AlsaErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetHandler = int (*)(AlsaErrorHandler);

void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

void QuietAlsa() {
    static bool done = false;
    if (done) return;
    done = true;
    // The same library SDL loads for its ALSA driver, by the same name.
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return;
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler"))) set(&DropAlsaMessage);
}
