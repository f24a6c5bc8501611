// A started game on the fakes: the test folder, the scripted platform, the
// recording audio engine and a Game that has loaded its resources.
#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "app/Game.h"
#include "capture/Capture.h"
#include "fakes/FakeAudio.h"
#include "fakes/FakePlatform.h"
#include "fakes/TestFolder.h"

class GameHarness {
public:
    explicit GameHarness(bool load = true) : game(platform, audio) {
        // A harness is a run of its own: its captures are numbered from 0.
        ResetCaptureCounter();
        // A photo chosen is waited for rather than shown being prepared
        // (tests of that frame set no wait).
        game.photoWaitMs = 10000;
        if (load) game.LoadResources();
    }
    ~GameHarness() { EXPECT_EQ(platform.unannouncedChanges, 0) << "a frame changed where the flip said it had not"; }

    // Every photo of the Pictures folder prepared, and taken in by the game.
    void WaitForPhotos() {
        EXPECT_TRUE(game.photoShelf.WaitDone(20000)) << "the photos were not prepared in time";
        game.TakePhotoNews();
    }
    // One frame as the frame loop runs it: at most one message, then RunFrame.
    void Frame() {
        Message m;
        if (platform.PeekMessage(m) && m == Message::LButtonDown) game.clicked = true;
        game.RunFrame();
        platform.now += kFrameMs;
    }
    void Frames(int n) {
        for (int i = 0; i < n; ++i) Frame();
    }
    // Moves the pointer, lets one frame read it, then clicks in the next.
    void ClickAt(int x, int y) {
        platform.cursor = {x, y};
        Frame();
        platform.Click();
        Frame();
    }
    // Deals a board at the current grid size and returns to ScreenPlaying.
    void Deal() {
        game.screen = ScreenShuffle;
        Frame();
    }
    // Puts the board in a given arrangement (home indices, row-major).
    void SetBoard(const std::vector<int32_t>& homes);
    // The screen position of the middle of cell (row, col).
    Point CellCentre(int row, int col) const {
        const int t = game.tileSize;
        return {52 + col * t + t / 2, 52 + row * t + t / 2};
    }
    uint16_t Shown(int x, int y) const { return platform.LastFrame().Pixel(x, y); }

    TestFolder folder;
    FakePlatform platform;
    FakeAudio audio;
    Game game;
};

inline void GameHarness::SetBoard(const std::vector<int32_t>& homes) {
    const int n = game.gridSize;
    for (int row = 0; row < n; ++row) {
        for (int col = 0; col < n; ++col) {
            const int32_t h = homes.at(row * n + col);
            game.boardTile[row][col] = h;
            game.boardImage[row][col] = h == 0 ? game.blankTile : game.tileImage[h / n][h % n];
            if (h == 0) {
                game.blankRow = row;
                game.blankCol = col;
            }
        }
    }
}
