// Shows frames on an SDL window's own surface: no renderer and no GL, only
// the rectangles that changed since the frame last shown, scaled into the
// letterbox (Presenter.h) and sent to the screen as those rectangles.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/Surface.h"
#include "gfx/Unfilled.h"
#include "platform/Letterbox.h"
#include "platform/Platform.h"

struct SDL_Window;
struct SDL_Surface;

// Time spent in each stage of presenting, summed over the frames shown.
struct PresentTimes {
    uint64_t compareNs = 0;
    uint64_t scaleNs = 0;
    uint64_t updateNs = 0;
    int frames = 0;        // Present calls that compared
    int updates = 0;       // of them, those that sent pixels to the screen
    int wholeRepaints = 0;
};

class WindowPresenter {
public:
    // The window's surface (a failure is DisplayStep::FrontSurface) and a
    // format the frame can be scaled into (else DisplayStep::BackSurface).
    DisplayStep Open(SDL_Window* window);
    // Shows what differs from the frame last shown, looked for only inside
    // `changed` (outside, the caller vouches the frame is the same); the whole
    // window anew when `whole` is set, on the first frame, after the window's
    // surface changed or an update failed, or when most of the frame changed.
    // True when anything was sent to the screen.
    bool Present(const Surface& frame, const std::vector<Rect>& changed, bool whole);
    void Close();

    const PresentTimes& Times() const { return times_; }

private:
    bool Repaint(SDL_Surface* surface, const Letterbox& box);

    SDL_Window* window_ = nullptr;
    SDL_Surface* surface_ = nullptr;  // the surface last drawn on
    void* surfacePixels_ = nullptr;
    int surfaceWidth_ = 0;
    int surfaceHeight_ = 0;
    bool valid_ = false;           // the screen shows shown_
    // The frame on the screen, and the same 8 bits a channel for the scaling;
    // both written whole by the first frame, so not filled before it.
    std::vector<uint16_t, UnfilledAllocator<uint16_t>> shown_;
    std::vector<uint32_t, UnfilledAllocator<uint32_t>> wide_;
    PresentTimes times_;
};
