// The display: bringing it up, the per-frame clear, copies and flip, the
// colour key value, and taking it down.
#include <string>
#include <vector>

#include "app/Game.h"

namespace {
const char* DisplayStepMessage(DisplayStep step) {
    switch (step) {
        case DisplayStep::Create: return "DirectDraw create failed";
        case DisplayStep::QueryInterface: return "Querry interface failed";
        case DisplayStep::Cooperative: return "Set cooperative level failed";
        case DisplayStep::DisplayMode: return "Can't set suitable display mode";
        case DisplayStep::FrontSurface: return "Create Front Surface failed";
        case DisplayStep::BackSurface: return "Create Back Surface failed";
        case DisplayStep::None: break;
    }
    return "";
}
}  // namespace

bool Game::InitDirectDraw() {
    // Whatever part of the display comes up is ours to take down, even when a
    // later step fails: the platform closes a half-open display safely.
    directDraw = true;
    const DisplayStep failed = platform.OpenDisplay();
    if (failed != DisplayStep::None) FailAndExit(DisplayStepMessage(failed), "InitDirectDraw failed", true);
    primarySurface = std::make_shared<Surface>(kScreenWidth, kScreenHeight);
    backSurface = std::make_shared<BackBuffer>(primarySurface);
    return true;
}

int32_t Game::ClearBackBuffer(uint32_t fill) {
    if (!backSurface) return kErrPointer;
    backSurface->Fill(static_cast<uint16_t>(fill));
    return kOk;
}

bool Game::DrawImage(int32_t x, int32_t y, const SurfacePtr& image, const Rect* source, BlitMode mode) {
    if (!backSurface || !image) return false;
    return backSurface->Blit(x, y, image, source, mode);
}

void Game::Flip() {
    if (!primarySurface || !backSurface) return;
    // The back buffer draws onto the front only what changed, and tells the
    // screen where that is.
    platform.Present(*primarySurface, backSurface->Flip());
}

uint32_t Game::MatchColor(uint32_t colorref) {
    if (!primarySurface) return 0;
    constexpr uint32_t kInvalid = 0xFFFFFFFFu;
    if (colorref == kInvalid) return kInvalid;
    // The frame is RGB565 whatever the screen: convert directly, leaving the
    // frame's pixels as they are.
    const uint8_t r = colorref & 0xFF;
    const uint8_t g = (colorref >> 8) & 0xFF;
    const uint8_t b = (colorref >> 16) & 0xFF;
    return Rgb565(r, g, b);
}

void Game::ReleaseDisplay() {
    backSurface.reset();
    primarySurface.reset();
    if (directDraw) {
        platform.CloseDisplay();
        directDraw = false;
    }
}
