// The animated mouse pointer, drawn last so it lies over everything. Its
// top-left pixel is the tip: the spot where a click lands.
#include "app/Game.h"

void Game::InitPointer(PointerSprite& sprite, int32_t hidden, int32_t frameCount, int32_t frameDelay,
                       int32_t frameWidth, int32_t frameHeight) {
    sprite.hidden = hidden;
    sprite.frameCount = frameCount;
    sprite.frameDelay = frameDelay;
    sprite.frameWidth = frameWidth;
    sprite.frameHeight = frameHeight;
    sprite.frame = 0;
    sprite.delayCounter = 0;
}

void Game::DrawPointer(PointerSprite& sprite, int32_t x, int32_t y) {
    if (++sprite.delayCounter > sprite.frameDelay) {
        sprite.frame = sprite.frameCount > 0 ? (sprite.frame + 1) % sprite.frameCount : 0;
        sprite.delayCounter = 0;
    }
    DrawPointerFrame(sprite, x, y);
}

void Game::DrawPointerFrame(const PointerSprite& sprite, int32_t x, int32_t y) {
    Rect source{sprite.frame * sprite.frameWidth, 0, 0, sprite.frameHeight};
    source.right = source.left + sprite.frameWidth;
    if (x < 0) {
        source.left += -x;
        x = 0;
    } else if (x + sprite.frameWidth > kScreenWidth) {
        source.right -= x + sprite.frameWidth - kScreenWidth;
    }
    if (y < 0) {
        source.top = -y;
        y = 0;
    } else if (y + sprite.frameHeight > kScreenHeight) {
        source.bottom -= y + sprite.frameHeight - kScreenHeight;
    }
    // Not over the window, the pointer is the desktop's: no frozen copy of
    // it stays on the window's edge.
    if (sprite.hidden == 0 && !pointerAway) DrawImage(x, y, mousePtrImage, &source, BlitMode::Keyed);
}

// Until a click is taken, the frame sees the pointer where the button went down.
void Game::ReadCursor() {
    cursor = clicked ? platform.PressPos() : platform.CursorPos();
    pointerAway = !platform.PointerInWindow();
}
