// The keyboard: read once a frame, at the frame's end. Each key acts once per
// press, on the press, however long it is held, and a press and release
// between two frames still counts. F9 takes a screen capture; of T, S and
// Escape the first pressed in the frame acts.
#include <algorithm>
#include <iterator>
#include <utility>
#include <vector>

#include "app/Game.h"
#include "capture/Capture.h"

namespace {

bool IsCommand(KeyPress press) {
    return press == KeyPress::Tile || press == KeyPress::Shuffle || press == KeyPress::Escape ||
           press == KeyPress::Capture;
}

}  // namespace

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
    const std::vector<KeyPress> presses = std::exchange(keyPresses, {});
    if (!keyboard) return;
    uint8_t keys[256] = {};
    if (platform.ReadKeyboard(keys) < 0) {
        // Lost: take it back. No key acts this frame; the frame's key
        // commands wait for the next.
        while (platform.AcquireKeyboard() == kErrInputLost) {
        }
        std::copy_if(presses.begin(), presses.end(), std::back_inserter(keyPresses), IsCommand);
        return;
    }

    // One capture however often F9 went down since the last frame: it would be the same picture.
    if (std::find(presses.begin(), presses.end(), KeyPress::Capture) != presses.end()) {
        CaptureShownFrame();
    }

    const auto first = std::find_if(presses.begin(), presses.end(), [](KeyPress p) {
        return p == KeyPress::Tile || p == KeyPress::Shuffle || p == KeyPress::Escape;
    });
    if (first == presses.end()) return;
    // While a photo is prepared only Escape acts: there is no picture to deal.
    if (screen == ScreenPreparing && *first != KeyPress::Escape) return;
    switch (*first) {
        case KeyPress::Tile:
            if (screen == ScreenPlaying) gameInProgress = true;
            screen = (screen == ScreenTileView && gameInProgress) ? ScreenPlaying : ScreenTileView;
            break;
        case KeyPress::Shuffle:
            screen = ScreenShuffle;
            gameInProgress = false;
            break;
        default:  // Escape
            if (screen == ScreenOptions) {
                screen = ScreenPlaying;
            } else {
                SaveGameAtEnd();
                ReleaseAll();
                platform.Exit(1, true);
            }
            break;
    }
}

void Game::ReleaseInput() {
    if (keyboard || directInput) platform.CloseKeyboard();
    keyboard = false;
    directInput = false;
}
