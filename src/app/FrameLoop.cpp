// Entry, window messages, frame loop and pacing.
#include "app/FrameLoop.h"

#include <cstdlib>
#include <memory>

#include "app/Game.h"

void WindowProc(Platform& platform, Message message) {
    switch (message) {
        case Message::Destroy:
            platform.PostQuit();
            break;
        case Message::KillFocus:
            // Switching away ends the game: at once, releasing nothing, the
            // game in progress kept.
            if (gameInstance) gameInstance->SaveGameAtEnd();
            platform.Exit(1, true);
        case Message::LButtonDown:
            if (gameInstance) gameInstance->clicked = true;
            break;
        case Message::Quit:
        case Message::Other:
            break;
    }
}

namespace {

// The endings the game never sees come through here: the X server gone
// (Xlib ends the process with exit()) and the like.
void KeepGameAtExit() {
    if (gameInstance) gameInstance->SaveGameAtEnd();
}

}  // namespace

int VeskMain(Platform& platform, AudioEngine& audio) {
    static const bool keptAtExit = std::atexit(KeepGameAtExit) == 0;
    (void)keptAtExit;
    platform.HideSystemCursor();

    // The one Game of the run; it lives until the process ends.
    auto game = std::make_unique<Game>(platform, audio);
    gameInstance = game.get();
    // Never left pointing at a Game that is gone (tests end a run by throwing).
    struct ClearInstance {
        ~ClearInstance() { gameInstance = nullptr; }
    } clearInstance;

    game->window = platform.CreateMainWindow();

    if (game->LoadResources() < 0) {
        // A sound or keyboard failure: no window is shown, no frame runs and
        // nothing is released (the sound failures have shown their message).
        return 0;
    }

    game->ResumeSavedGame();
    platform.ShowMainWindow();

    // The last message taken; the loop ends after the frame that took Quit.
    Message last = Message::Other;
    while (last != Message::Quit) {
        Message message;
        if (platform.PeekMessage(message)) {
            last = message;
            WindowProc(platform, message);
        }
        const uint32_t start = platform.Ticks();
        game->RunFrame();
        platform.WaitUntil(start, kFrameMs);
    }

    game->SaveGameAtEnd();
    game->ReleaseAll();
    return 0;
}

void WaitForTicks(uint32_t start, uint32_t ms, const std::function<uint32_t()>& ticks,
                  const std::function<void(uint32_t)>& sleep) {
    for (uint32_t left = FrameTimeLeft(ticks(), start, ms); left != 0; left = FrameTimeLeft(ticks(), start, ms)) {
        sleep(left);
    }
}
