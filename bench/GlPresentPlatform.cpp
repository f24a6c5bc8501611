#include "GlPresentPlatform.h"

#include <SDL.h>

#include <chrono>
#include <cstring>

#include "gfx/Surface.h"

namespace {
using Clock = std::chrono::steady_clock;
uint64_t NsSince(Clock::time_point start) {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
}
}  // namespace

GlPresentPlatform::GlPresentPlatform() {
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
}

GlPresentPlatform::~GlPresentPlatform() { CloseDisplay(); }

DisplayStep GlPresentPlatform::OpenScreen() {
    if (!renderer_) {
        renderer_ = SDL_CreateRenderer(Window(), -1, 0);
        if (!renderer_) return DisplayStep::FrontSurface;
    }
    if (!texture_) {
        texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB565, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                     kScreenHeight);
        if (!texture_) return DisplayStep::BackSurface;
    }
    return DisplayStep::None;
}

void GlPresentPlatform::CloseScreen() {
    shownPixels_.clear();
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    if (renderer_) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
}

void GlPresentPlatform::Present(const Surface& frame, const std::vector<Rect>&) {
    if (!texture_ || frame.Width() != kScreenWidth || frame.Height() != kScreenHeight) return;
    const size_t count = static_cast<size_t>(kScreenWidth) * kScreenHeight;
    const uint16_t* pixels = frame.Row(0);
    const bool whole = TakeRepaint();
    ++frames;
    const auto compareStart = Clock::now();
    const bool same = !whole && shownPixels_.size() == count &&
                      std::memcmp(shownPixels_.data(), pixels, count * sizeof(uint16_t)) == 0;
    if (!same) shownPixels_.assign(pixels, pixels + count);
    compareNs += NsSince(compareStart);
    if (same) return;
    const auto renderStart = Clock::now();
    SDL_UpdateTexture(texture_, nullptr, pixels, kScreenWidth * static_cast<int>(sizeof(uint16_t)));
    int w = 0;
    int h = 0;
    SDL_GetRendererOutputSize(renderer_, &w, &h);
    const Letterbox box = LetterboxFor(w, h);
    const SDL_Rect target{box.x, box.y, box.w, box.h};
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    SDL_RenderCopy(renderer_, texture_, nullptr, &target);
    SDL_RenderPresent(renderer_);
    renderNs += NsSince(renderStart);
    NotePresented();
}
