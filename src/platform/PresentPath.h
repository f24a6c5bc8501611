// How frames reach the screen on the video driver SDL chose.
#pragma once

enum class PresentPath {
    WindowSurface,  // the window's own pixels, changed rectangles only (WindowPresenter)
    Renderer,       // a renderer's streaming texture (RendererPresenter)
};

// The window's own pixels where the driver keeps them in plain memory (X11,
// and SDL's off-screen and dummy drivers); a renderer on every other driver
// (Wayland, KMS/DRM, ...), which has no window pixels of its own to give.
PresentPath PresentPathFor(const char* videoDriver);
