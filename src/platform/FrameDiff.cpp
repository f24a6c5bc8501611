#include "platform/FrameDiff.h"

#include <algorithm>
#include <cstring>

namespace {

// Shrinks r to the bounding box of the pixels that differ inside it.
Rect Tighten(const uint16_t* before, const uint16_t* now, int width, const Rect& r) {
    Rect tight{r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.bottom; ++y) {
        const uint16_t* a = before + static_cast<size_t>(y) * width;
        const uint16_t* b = now + static_cast<size_t>(y) * width;
        int left = r.left;
        while (left < r.right && a[left] == b[left]) ++left;
        if (left == r.right) continue;
        int right = r.right;
        while (a[right - 1] == b[right - 1]) --right;
        tight.left = std::min(tight.left, left);
        tight.right = std::max(tight.right, right);
        tight.top = std::min(tight.top, y);
        tight.bottom = y + 1;
    }
    return tight;
}

}  // namespace

std::vector<Rect> ChangedRects(const uint16_t* before, const uint16_t* now, int width, int height) {
    return ChangedRects(before, now, width, height, {0, 0, width, height});
}

std::vector<Rect> ChangedRects(const uint16_t* before, const uint16_t* now, int width, int height, Rect area) {
    std::vector<Rect> rects;
    area = {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, width), std::min(area.bottom, height)};
    if (!before || !now || area.left >= area.right || area.top >= area.bottom) return rects;
    const int areaWidth = area.right - area.left;
    const int areaHeight = area.bottom - area.top;
    const int columns = (areaWidth + kDiffBlock - 1) / kDiffBlock;
    const int bands = (areaHeight + kDiffBlock - 1) / kDiffBlock;
    std::vector<uint8_t> changed(static_cast<size_t>(columns) * bands, 0);
    const size_t rowBytes = static_cast<size_t>(areaWidth) * sizeof(uint16_t);
    bool any = false;
    for (int y = area.top; y < area.bottom; ++y) {
        const uint16_t* a = before + static_cast<size_t>(y) * width + area.left;
        const uint16_t* b = now + static_cast<size_t>(y) * width + area.left;
        if (std::memcmp(a, b, rowBytes) == 0) continue;
        any = true;
        uint8_t* band = &changed[static_cast<size_t>((y - area.top) / kDiffBlock) * columns];
        for (int c = 0; c < columns; ++c) {
            if (band[c]) continue;
            const int x = c * kDiffBlock;
            const int n = std::min(kDiffBlock, areaWidth - x);
            if (std::memcmp(a + x, b + x, static_cast<size_t>(n) * sizeof(uint16_t)) != 0) band[c] = 1;
        }
    }
    if (!any) return rects;

    // Runs of changed blocks in each band; a run with the same columns as one
    // that ended on the band above lengthens it.
    std::vector<size_t> open;  // rectangles whose bottom is the band above
    for (int band = 0; band < bands; ++band) {
        std::vector<size_t> stillOpen;
        const uint8_t* row = &changed[static_cast<size_t>(band) * columns];
        for (int c = 0; c < columns;) {
            if (!row[c]) {
                ++c;
                continue;
            }
            int end = c;
            while (end < columns && row[end]) ++end;
            const int left = area.left + c * kDiffBlock;
            const int right = area.left + std::min(end * kDiffBlock, areaWidth);
            const int bottom = area.top + std::min((band + 1) * kDiffBlock, areaHeight);
            auto above = std::find_if(open.begin(), open.end(), [&](size_t i) {
                return rects[i].left == left && rects[i].right == right;
            });
            if (above != open.end()) {
                rects[*above].bottom = bottom;
                stillOpen.push_back(*above);
            } else {
                rects.push_back({left, area.top + band * kDiffBlock, right, bottom});
                stillOpen.push_back(rects.size() - 1);
            }
            c = end;
        }
        open.swap(stillOpen);
    }
    for (Rect& r : rects) r = Tighten(before, now, width, r);
    return rects;
}

int64_t AreaOf(const std::vector<Rect>& rects) {
    int64_t area = 0;
    for (const Rect& r : rects) area += static_cast<int64_t>(r.right - r.left) * (r.bottom - r.top);
    return area;
}
