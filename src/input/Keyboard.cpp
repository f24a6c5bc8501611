// The keyboard: a snapshot of all keys once a frame, at the frame's end.
// F9 takes a screen capture; of T, S and Escape the first one held acts.
#include "app/Game.h"
#include "capture/Capture.h"

int32_t Game::InitKeyboard() {
    const int32_t status = platform.OpenKeyboard();
    if (status == kErrNotImpl) {
        ReleaseInput();
        return kErrNotImpl;
    }
    if (status < 0) return status;
    directInput = true;
    keyboard = true;
    platform.AcquireKeyboard();
    return kOk;
}

void Game::PollKeyboard() {
    if (!keyboard) return;
    uint8_t keys[256] = {};
    if (platform.ReadKeyboard(keys) < 0) {
        // Lost: take it back; no key acts this frame.
        while (platform.AcquireKeyboard() == kErrInputLost) {
        }
        return;
    }
    const auto held = [&keys](int code) { return (keys[code] & kKeyHeld) != 0; };

    if (held(kKeyF9)) CaptureShownFrame();

    if (held(kKeyT)) {
        if (screen == ScreenPlaying) gameInProgress = true;
        screen = (screen == ScreenTileView && gameInProgress) ? ScreenPlaying : ScreenTileView;
    } else if (held(kKeyS)) {
        screen = ScreenShuffle;
        gameInProgress = false;
    } else if (held(kKeyEscape)) {
        if (screen == ScreenOptions) {
            screen = ScreenPlaying;
        } else {
            ReleaseAll();
            platform.Exit(1, true);
        }
    }
}

void Game::ReleaseInput() {
    if (keyboard || directInput) platform.CloseKeyboard();
    keyboard = false;
    directInput = false;
}
