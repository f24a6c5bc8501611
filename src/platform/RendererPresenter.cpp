#include "platform/RendererPresenter.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>

#include "platform/FrameDiff.h"
#include "platform/Presenter.h"
#include "platform/SdlPlatform.h"

namespace {

using Clock = std::chrono::steady_clock;

uint64_t NsSince(Clock::time_point start) {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
}

constexpr int kWidePitch = kScreenWidth * static_cast<int>(sizeof(uint32_t));

}  // namespace

int UploadChanges(const uint16_t* frame, uint16_t* shown, uint32_t* wide, const std::vector<Rect>& hinted,
                  const TextureUpload& upload) {
    std::vector<Rect> changed;
    for (const Rect& area : hinted) {
        for (const Rect& r : ChangedRects(shown, frame, kScreenWidth, kScreenHeight, area)) changed.push_back(r);
    }
    for (const Rect& r : changed) {
        for (int y = r.top; y < r.bottom; ++y) {
            const size_t row = static_cast<size_t>(y) * kScreenWidth;
            std::copy(frame + row + r.left, frame + row + r.right, shown + row + r.left);
        }
        WidenRect(shown, wide, r);
    }
    bool sent = true;
    for (const Rect& r : changed) {
        sent = upload(r, wide + static_cast<size_t>(r.top) * kScreenWidth + r.left, kWidePitch) && sent;
    }
    return sent ? static_cast<int>(changed.size()) : -1;
}

DisplayStep RendererPresenter::Open(SDL_Window* window) {
    Close();
    // The frame loop keeps its own time: presenting never waits for the screen.
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    renderer_ = window ? SDL_CreateRenderer(window, -1, 0) : nullptr;
    if (!renderer_) return DisplayStep::FrontSurface;
    texture_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                 kScreenHeight);
    if (!texture_) return DisplayStep::BackSurface;
    SDL_SetTextureScaleMode(texture_, SDL_ScaleModeLinear);
    shown_.resize(static_cast<size_t>(kScreenWidth) * kScreenHeight);
    wide_.resize(shown_.size());
    valid_ = false;
    return DisplayStep::None;
}

bool RendererPresenter::OutputSize(int& width, int& height) const {
    return renderer_ && SDL_GetRendererOutputSize(renderer_, &width, &height) == 0 && width > 0 && height > 0;
}

bool RendererPresenter::Draw() {
    int w = 0;
    int h = 0;
    if (!OutputSize(w, h)) return false;
    const Letterbox box = LetterboxFor(w, h);
    const SDL_Rect to{box.x, box.y, box.w, box.h};
    const auto start = Clock::now();
    // The renderer keeps nothing from one present to the next: bars and
    // frame are drawn whole every time.
    const bool drawn = SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255) == 0 && SDL_RenderClear(renderer_) == 0 &&
                       SDL_RenderCopy(renderer_, texture_, nullptr, &to) == 0;
    if (drawn) SDL_RenderPresent(renderer_);
    times_.updateNs += NsSince(start);
    return drawn;
}

bool RendererPresenter::Present(const Surface& frame, const std::vector<Rect>& hinted, bool whole) {
    if (!texture_ || shown_.empty() || frame.Width() != kScreenWidth || frame.Height() != kScreenHeight) return false;
    const uint16_t* pixels = frame.Row(0);
    ++times_.frames;
    if (whole || !valid_) {
        const auto compareStart = Clock::now();
        shown_.assign(pixels, pixels + shown_.size());
        WidenRect(shown_.data(), wide_.data(), {0, 0, kScreenWidth, kScreenHeight});
        times_.compareNs += NsSince(compareStart);
        const auto uploadStart = Clock::now();
        valid_ = SDL_UpdateTexture(texture_, nullptr, wide_.data(), kWidePitch) == 0;
        times_.scaleNs += NsSince(uploadStart);
        ++times_.wholeRepaints;
        if (!valid_ || !Draw()) return false;
        ++times_.updates;
        return true;
    }
    // A still frame: nothing to compare.
    if (hinted.empty()) return false;
    const auto start = Clock::now();
    const int sent = UploadChanges(pixels, shown_.data(), wide_.data(), hinted,
                                   [this](const Rect& r, const uint32_t* from, int pitch) {
                                       const SDL_Rect to{r.left, r.top, r.right - r.left, r.bottom - r.top};
                                       return SDL_UpdateTexture(texture_, &to, from, pitch) == 0;
                                   });
    times_.scaleNs += NsSince(start);
    if (sent < 0) {
        valid_ = false;
        return false;
    }
    if (sent == 0) return false;
    if (!Draw()) return false;
    ++times_.updates;
    return true;
}

void RendererPresenter::Close() {
    if (texture_) SDL_DestroyTexture(texture_);
    texture_ = nullptr;
    if (renderer_) SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
    valid_ = false;
    shown_.clear();
    wide_.clear();
}
