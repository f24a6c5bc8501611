// A controller's left stick as four more d-pad buttons: a push out of the
// dead zone counts once, the way the stick leans most, and the stick must
// come back near the middle before the next push counts, as a key must be
// let go before it is pressed again.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/Platform.h"

class StickPush {
public:
    // Out of the dead zone (about half way over), and back near the middle.
    static constexpr int kPushedAt = 16000;
    static constexpr int kBackAt = 8000;

    // The stick moved along axis x (or y; SDL's values -32768..32767, y
    // growing downwards): the push it makes, if any.
    std::optional<PadButton> Move(bool xAxis, int value);

private:
    int x_ = 0;
    int y_ = 0;
    bool pushed_ = false;
};
