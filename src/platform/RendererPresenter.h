// Shows frames through an SDL renderer, for video drivers that give a window
// no pixels of its own (Wayland, KMS/DRM): one streaming texture holds the
// frame shown, only its changed rectangles are sent to it, and the renderer
// scales it into the letterbox (bilinear) at the output's own pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "gfx/Surface.h"
#include "gfx/Unfilled.h"
#include "platform/Platform.h"
#include "platform/WindowPresenter.h"

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

// Sends one rectangle of x8r8g8b8 pixels (`pixels` at its top left, rows
// `pitch` bytes apart) to the texture; false when it could not.
using TextureUpload = std::function<bool(const Rect& rect, const uint32_t* pixels, int pitch)>;

// What `frame` changed from `shown` inside `hinted` (outside, the caller
// vouches they are the same): copied into `shown`, widened into `wide` (the
// same frame as x8r8g8b8 pixels; all three kScreenWidth x kScreenHeight) and
// uploaded a rectangle at a time, so that a texture given every upload holds
// `wide` whole. The number of rectangles uploaded; -1 when an upload failed
// (the texture is then unknown and wants a whole upload).
int UploadChanges(const uint16_t* frame, uint16_t* shown, uint32_t* wide, const std::vector<Rect>& hinted,
                  const TextureUpload& upload);

class RendererPresenter {
public:
    // The renderer (a failure is DisplayStep::FrontSurface) and its texture
    // (else DisplayStep::BackSurface).
    DisplayStep Open(SDL_Window* window);
    // As WindowPresenter::Present; the whole texture is sent when `whole` is
    // set, on the first frame or after an upload failed.
    bool Present(const Surface& frame, const std::vector<Rect>& changed, bool whole);
    void Close();

    // The output's size in pixels (on a scaled screen, more than the
    // window's size in the desktop's units); false when unknown.
    bool OutputSize(int& width, int& height) const;
    const PresentTimes& Times() const { return times_; }

private:
    bool Draw();

    SDL_Renderer* renderer_ = nullptr;
    SDL_Texture* texture_ = nullptr;
    bool valid_ = false;  // the texture holds shown_
    std::vector<uint16_t, UnfilledAllocator<uint16_t>> shown_;
    std::vector<uint32_t, UnfilledAllocator<uint32_t>> wide_;
    PresentTimes times_;
};
