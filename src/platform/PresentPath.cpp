#include "platform/PresentPath.h"

#include <cstring>
#include <initializer_list>

PresentPath PresentPathFor(const char* videoDriver) {
    if (!videoDriver) return PresentPath::Renderer;
    for (const char* own : {"x11", "offscreen", "dummy"}) {
        if (std::strcmp(videoDriver, own) == 0) return PresentPath::WindowSurface;
    }
    return PresentPath::Renderer;
}
