#include "platform/Presenter.h"

#include <algorithm>

namespace {

// Frame pixels per screen pixel, in pixman's 16.16 fixed point.
pixman_fixed_t StepFor(int frameSize, int screenSize) {
    return static_cast<pixman_fixed_t>(((static_cast<int64_t>(frameSize) << 16) + screenSize / 2) / screenSize);
}

// The first offset in [0, size) for which below(offset) is false; below must
// hold for a leading run of offsets only.
template <typename Below>
int FirstNotBelow(int size, Below below) {
    int low = 0;
    int high = size;
    while (low < high) {
        const int mid = low + (high - low) / 2;
        if (below(mid)) {
            low = mid + 1;
        } else {
            high = mid;
        }
    }
    return low;
}

// The screen offsets [begin, end) on one axis that read a frame pixel of [first, last).
void AxisSpan(int first, int last, int frameSize, int screenSize, int& begin, int& end) {
    begin = FirstNotBelow(screenSize, [&](int at) { return TapsAt(at, frameSize, screenSize).last < first; });
    end = FirstNotBelow(screenSize, [&](int at) { return TapsAt(at, frameSize, screenSize).first < last; });
}

struct Images {
    pixman_image_t* frame = nullptr;
    pixman_image_t* screen = nullptr;
    ~Images() {
        if (frame) pixman_image_unref(frame);
        if (screen) pixman_image_unref(screen);
    }
};

pixman_image_t* ScreenImage(const ScreenTarget& target) {
    if (!target.pixels || target.width <= 0 || target.height <= 0 || target.pitch % 4 != 0) return nullptr;
    return pixman_image_create_bits_no_clear(target.format, target.width, target.height,
                                             static_cast<uint32_t*>(target.pixels), target.pitch);
}

}  // namespace

FrameTaps TapsAt(int at, int frameSize, int screenSize) {
    if (frameSize <= 0 || screenSize <= 0) return {};
    if (frameSize == screenSize) return {at, at};
    // Where pixman samples: the screen pixel's centre through the scale,
    // rounded to 16.16; the filter blends the two frame pixels around that
    // point by a 7-bit weight, the far one dropping out at weight 0.
    const int64_t centre = (static_cast<int64_t>(at) << 16) + 0x8000;
    const int64_t position = (centre * StepFor(frameSize, screenSize) + 0x8000) >> 16;
    const int64_t x = position - 0x8000;
    const int64_t near = x >> 16;
    const int64_t weight = (x >> (16 - 7)) & 0x7F;
    const auto held = [&](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, 0, frameSize - 1)); };
    return {held(near), held(weight != 0 ? near + 1 : near)};
}

Rect ScreenRectFor(const Rect& frameRect, const Letterbox& box) {
    const int left = std::max(frameRect.left, 0);
    const int top = std::max(frameRect.top, 0);
    const int right = std::min(frameRect.right, kScreenWidth);
    const int bottom = std::min(frameRect.bottom, kScreenHeight);
    if (box.w <= 0 || box.h <= 0 || left >= right || top >= bottom) return {};
    int x0 = 0;
    int x1 = 0;
    int y0 = 0;
    int y1 = 0;
    AxisSpan(left, right, kScreenWidth, box.w, x0, x1);
    AxisSpan(top, bottom, kScreenHeight, box.h, y0, y1);
    if (x0 >= x1 || y0 >= y1) return {};
    return {box.x + x0, box.y + y0, box.x + x1, box.y + y1};
}

void WidenRect(const uint16_t* frame, uint32_t* wide, const Rect& frameRect) {
    const int left = std::max(frameRect.left, 0);
    const int right = std::min(frameRect.right, kScreenWidth);
    for (int y = std::max(frameRect.top, 0); y < std::min(frameRect.bottom, kScreenHeight); ++y) {
        const uint16_t* from = frame + static_cast<size_t>(y) * kScreenWidth;
        uint32_t* to = wide + static_cast<size_t>(y) * kScreenWidth;
        for (int x = left; x < right; ++x) {
            const uint32_t p = from[x];
            const uint32_t r = p >> 11;
            const uint32_t g = (p >> 5) & 0x3F;
            const uint32_t b = p & 0x1F;
            to[x] = 0xFF000000u | (r << 3 | r >> 2) << 16 | (g << 2 | g >> 4) << 8 | (b << 3 | b >> 2);
        }
    }
}

bool ScaleRect(const uint32_t* wide, const ScreenTarget& target, const Letterbox& box, const Rect& screenRect) {
    if (!wide || box.w <= 0 || box.h <= 0) return false;
    const int left = std::max({screenRect.left, box.x, 0});
    const int top = std::max({screenRect.top, box.y, 0});
    const int right = std::min({screenRect.right, box.x + box.w, target.width});
    const int bottom = std::min({screenRect.bottom, box.y + box.h, target.height});
    if (left >= right || top >= bottom) return true;

    Images images;
    // pixman only reads a source image.
    images.frame = pixman_image_create_bits_no_clear(PIXMAN_x8r8g8b8, kScreenWidth, kScreenHeight,
                                                     const_cast<uint32_t*>(wide),
                                                     kScreenWidth * static_cast<int>(sizeof(uint32_t)));
    images.screen = ScreenImage(target);
    if (!images.frame || !images.screen) return false;
    if (box.w != kScreenWidth || box.h != kScreenHeight) {
        pixman_transform_t scale;
        pixman_transform_init_scale(&scale, StepFor(kScreenWidth, box.w), StepFor(kScreenHeight, box.h));
        if (!pixman_image_set_transform(images.frame, &scale)) return false;
        pixman_image_set_filter(images.frame, PIXMAN_FILTER_BILINEAR, nullptr, 0);
        pixman_image_set_repeat(images.frame, PIXMAN_REPEAT_PAD);
    }
    // Screen pixel (x, y) is frame point (x - box.x, y - box.y) through the
    // scale, whatever rectangle it is computed in.
    pixman_image_composite32(PIXMAN_OP_SRC, images.frame, nullptr, images.screen, left - box.x, top - box.y, 0, 0,
                             left, top, right - left, bottom - top);
    return true;
}

bool PaintBars(const ScreenTarget& target, const Letterbox& box) {
    // The bars are given in 16-bit coordinates.
    if (target.width > 0x7FFF || target.height > 0x7FFF) return false;
    pixman_image_t* screen = ScreenImage(target);
    if (!screen) return false;
    const int w = target.width;
    const int h = target.height;
    const int boxRight = std::clamp(box.x + box.w, 0, w);
    const int boxBottom = std::clamp(box.y + box.h, 0, h);
    const int boxLeft = std::clamp(box.x, 0, boxRight);
    const int boxTop = std::clamp(box.y, 0, boxBottom);
    // Above, below, left of and right of the box.
    const pixman_rectangle16_t bars[4] = {
        {0, 0, static_cast<uint16_t>(w), static_cast<uint16_t>(boxTop)},
        {0, static_cast<int16_t>(boxBottom), static_cast<uint16_t>(w), static_cast<uint16_t>(h - boxBottom)},
        {0, static_cast<int16_t>(boxTop), static_cast<uint16_t>(boxLeft), static_cast<uint16_t>(boxBottom - boxTop)},
        {static_cast<int16_t>(boxRight), static_cast<int16_t>(boxTop), static_cast<uint16_t>(w - boxRight),
         static_cast<uint16_t>(boxBottom - boxTop)},
    };
    const pixman_color_t black{0, 0, 0, 0xFFFF};
    const bool ok = pixman_image_fill_rectangles(PIXMAN_OP_SRC, screen, &black, 4, bars);
    pixman_image_unref(screen);
    return ok;
}
