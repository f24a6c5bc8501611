// The way frames were shown before the window's own surface: an SDL renderer
// (on X11, Mesa's GL), one streaming texture, the whole frame scaled and
// presented whenever it differs from the one shown. Kept only here, so that
// the benchmark can measure both ways in one run.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/SdlPlatform.h"

struct SDL_Renderer;
struct SDL_Texture;

class GlPresentPlatform : public SdlPlatform {
public:
    GlPresentPlatform();
    ~GlPresentPlatform() override;

    // The old path compares whole frames itself: `changed` is not used.
    void Present(const Surface& frame, const std::vector<Rect>& changed) override;

    uint64_t compareNs = 0;
    uint64_t renderNs = 0;
    int frames = 0;

protected:
    DisplayStep OpenScreen() override;
    void CloseScreen() override;

private:
    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    std::vector<uint16_t> shownPixels_;
};
