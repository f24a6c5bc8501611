#include "platform/StickPush.h"

#include <cstdlib>

std::optional<PadButton> StickPush::Move(bool xAxis, int value) {
    (xAxis ? x_ : y_) = value;
    const int ax = std::abs(x_);
    const int ay = std::abs(y_);
    if (pushed_) {
        if (ax < kBackAt && ay < kBackAt) pushed_ = false;
        return std::nullopt;
    }
    if (ax < kPushedAt && ay < kPushedAt) return std::nullopt;
    pushed_ = true;
    if (ax >= ay) return x_ < 0 ? PadButton::Left : PadButton::Right;
    return y_ < 0 ? PadButton::Up : PadButton::Down;
}
