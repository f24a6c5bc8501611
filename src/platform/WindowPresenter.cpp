#include "platform/WindowPresenter.h"

#include <SDL.h>

#include <chrono>

#include "platform/FrameDiff.h"
#include "platform/Presenter.h"
#include "platform/SdlPlatform.h"

namespace {

using Clock = std::chrono::steady_clock;

uint64_t NsSince(Clock::time_point start) {
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
}

// The pixman format of an SDL surface's pixels; false for one pixman lacks.
bool PixmanFormatFor(uint32_t sdlFormat, pixman_format_code_t& out) {
    switch (sdlFormat) {
        case SDL_PIXELFORMAT_RGB888: out = PIXMAN_x8r8g8b8; return true;
        case SDL_PIXELFORMAT_ARGB8888: out = PIXMAN_a8r8g8b8; return true;
        case SDL_PIXELFORMAT_BGR888: out = PIXMAN_x8b8g8r8; return true;
        case SDL_PIXELFORMAT_ABGR8888: out = PIXMAN_a8b8g8r8; return true;
        case SDL_PIXELFORMAT_RGBX8888: out = PIXMAN_r8g8b8x8; return true;
        case SDL_PIXELFORMAT_RGBA8888: out = PIXMAN_r8g8b8a8; return true;
        case SDL_PIXELFORMAT_BGRX8888: out = PIXMAN_b8g8r8x8; return true;
        case SDL_PIXELFORMAT_BGRA8888: out = PIXMAN_b8g8r8a8; return true;
        case SDL_PIXELFORMAT_ARGB2101010: out = PIXMAN_a2r10g10b10; return true;
        case SDL_PIXELFORMAT_RGB565: out = PIXMAN_r5g6b5; return true;
        case SDL_PIXELFORMAT_BGR565: out = PIXMAN_b5g6r5; return true;
        case SDL_PIXELFORMAT_RGB555: out = PIXMAN_x1r5g5b5; return true;
        case SDL_PIXELFORMAT_ARGB1555: out = PIXMAN_a1r5g5b5; return true;
#if SDL_BYTEORDER == SDL_LIL_ENDIAN
        // Three bytes a pixel: pixman reads them as a little-endian word.
        case SDL_PIXELFORMAT_RGB24: out = PIXMAN_b8g8r8; return true;
        case SDL_PIXELFORMAT_BGR24: out = PIXMAN_r8g8b8; return true;
#endif
        default: return false;
    }
}

bool TargetFor(SDL_Surface* surface, ScreenTarget& target) {
    if (!surface || !surface->format || !surface->pixels) return false;
    pixman_format_code_t format;
    if (!PixmanFormatFor(surface->format->format, format)) return false;
    target = {surface->pixels, surface->w, surface->h, surface->pitch, format};
    return true;
}

}  // namespace

DisplayStep WindowPresenter::Open(SDL_Window* window) {
    window_ = window;
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!surface) return DisplayStep::FrontSurface;
    ScreenTarget target;
    if (!TargetFor(surface, target)) return DisplayStep::BackSurface;
    // Nothing is read from them before the first frame is shown whole.
    shown_.resize(static_cast<size_t>(kScreenWidth) * kScreenHeight);
    wide_.resize(shown_.size());
    ReadyPages(shown_.data(), shown_.size() * sizeof(uint16_t));
    ReadyPages(wide_.data(), wide_.size() * sizeof(uint32_t));
    // The window's own pixels too: the first frame writes them all, and
    // until then the start-up waits on the images being read anyway.
    ReadyPages(surface->pixels, static_cast<size_t>(surface->h) * surface->pitch);
    valid_ = false;
    return DisplayStep::None;
}

bool WindowPresenter::Repaint(SDL_Surface* surface, const Letterbox& box) {
    ScreenTarget target;
    if (!TargetFor(surface, target)) return false;
    const auto scaleStart = Clock::now();
    const bool drawn = PaintBars(target, box) &&
                       ScaleRect(wide_.data(), target, box, {box.x, box.y, box.x + box.w, box.y + box.h});
    times_.scaleNs += NsSince(scaleStart);
    if (!drawn) return false;
    const auto updateStart = Clock::now();
    const bool sent = SDL_UpdateWindowSurface(window_) == 0;
    times_.updateNs += NsSince(updateStart);
    ++times_.wholeRepaints;
    return sent;
}

bool WindowPresenter::Present(const Surface& frame, const std::vector<Rect>& hinted, bool whole) {
    if (!window_ || shown_.empty() || frame.Width() != kScreenWidth || frame.Height() != kScreenHeight) return false;
    // Got anew every time: a resize or a move to another screen replaces it.
    SDL_Surface* surface = SDL_GetWindowSurface(window_);
    if (!surface) {
        valid_ = false;
        return false;
    }
    if (surface != surface_ || surface->pixels != surfacePixels_ || surface->w != surfaceWidth_ ||
        surface->h != surfaceHeight_) {
        whole = true;
        surface_ = surface;
        surfacePixels_ = surface->pixels;
        surfaceWidth_ = surface->w;
        surfaceHeight_ = surface->h;
    }
    const Letterbox box = LetterboxFor(surface->w, surface->h);
    const uint16_t* pixels = frame.Row(0);
    ++times_.frames;

    if (whole || !valid_) {
        const auto compareStart = Clock::now();
        shown_.assign(pixels, pixels + shown_.size());
        WidenRect(shown_.data(), wide_.data(), {0, 0, kScreenWidth, kScreenHeight});
        times_.compareNs += NsSince(compareStart);
        valid_ = Repaint(surface, box);
        if (valid_) ++times_.updates;
        return valid_;
    }

    // A still frame: nothing to compare.
    if (hinted.empty()) return false;
    const auto compareStart = Clock::now();
    std::vector<Rect> changed;
    for (const Rect& area : hinted) {
        for (const Rect& r : ChangedRects(shown_.data(), pixels, kScreenWidth, kScreenHeight, area)) {
            changed.push_back(r);
        }
    }
    for (const Rect& r : changed) {
        for (int y = r.top; y < r.bottom; ++y) {
            std::copy(frame.Row(y) + r.left, frame.Row(y) + r.right,
                      shown_.data() + static_cast<size_t>(y) * kScreenWidth + r.left);
        }
        WidenRect(shown_.data(), wide_.data(), r);
    }
    times_.compareNs += NsSince(compareStart);
    if (changed.empty()) return false;

    // Most of the frame anew: one whole repaint costs less than many pieces.
    if (AreaOf(changed) * 2 > static_cast<int64_t>(kScreenWidth) * kScreenHeight) {
        valid_ = Repaint(surface, box);
        if (valid_) ++times_.updates;
        return valid_;
    }

    ScreenTarget target;
    if (!TargetFor(surface, target)) {
        valid_ = false;
        return false;
    }
    std::vector<SDL_Rect> rects;
    rects.reserve(changed.size());
    const auto scaleStart = Clock::now();
    bool drawn = true;
    for (const Rect& r : changed) {
        const Rect s = ScreenRectFor(r, box);
        if (s.left >= s.right || s.top >= s.bottom) continue;
        drawn = ScaleRect(wide_.data(), target, box, s) && drawn;
        rects.push_back({s.left, s.top, s.right - s.left, s.bottom - s.top});
    }
    times_.scaleNs += NsSince(scaleStart);
    if (!drawn) {
        valid_ = false;
        return false;
    }
    if (rects.empty()) return false;
    const auto updateStart = Clock::now();
    // A failed update leaves the screen unknown: the next frame repaints it.
    valid_ = SDL_UpdateWindowSurfaceRects(window_, rects.data(), static_cast<int>(rects.size())) == 0;
    times_.updateNs += NsSince(updateStart);
    if (valid_) ++times_.updates;
    return valid_;
}

void WindowPresenter::Close() {
    // The surface belongs to the window, which frees it.
    window_ = nullptr;
    surface_ = nullptr;
    surfacePixels_ = nullptr;
    surfaceWidth_ = 0;
    surfaceHeight_ = 0;
    valid_ = false;
    shown_.clear();
    wide_.clear();
}
