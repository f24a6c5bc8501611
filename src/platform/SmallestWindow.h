// The smallest window the game lets itself be shrunk to (--window): the
// frame at 0.96 of its size, at which its smallest caption (the move
// counter's label and the tiles' numbers, capitals 9.5 px tall in the frame)
// still stands 9 screen pixels tall. The asset checks hold the captions to it.
#pragma once

constexpr int kSmallestWindowWidth = 768;
constexpr int kSmallestWindowHeight = 576;
// The least height of a caption's capitals on the screen, in pixels.
constexpr double kLeastCaptionPixels = 9.0;
