#include "gfx/BackBuffer.h"

#include <algorithm>
#include <utility>

namespace {

bool Overlap(const Rect& a, const Rect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

Rect Intersect(const Rect& a, const Rect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

bool Contains(const Rect& r, int x, int y) { return r.left <= x && x < r.right && r.top <= y && y < r.bottom; }

Rect Around(const Rect& a, const Rect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
            std::max(a.bottom, b.bottom)};
}

}  // namespace

std::vector<Rect> JoinOverlaps(std::vector<Rect> rects, size_t most) {
    rects.erase(std::remove_if(rects.begin(), rects.end(),
                               [](const Rect& r) { return r.left >= r.right || r.top >= r.bottom; }),
                rects.end());
    if (rects.size() > most) {
        Rect all = rects.front();
        for (const Rect& r : rects) all = Around(all, r);
        return {all};
    }
    for (bool joined = true; joined;) {
        joined = false;
        for (size_t i = 0; i < rects.size() && !joined; ++i) {
            for (size_t j = i + 1; j < rects.size(); ++j) {
                if (!Overlap(rects[i], rects[j])) continue;
                rects[i] = Around(rects[i], rects[j]);
                rects.erase(rects.begin() + static_cast<std::ptrdiff_t>(j));
                joined = true;
                break;
            }
        }
    }
    return rects;
}

bool BackBuffer::Op::operator==(const Op& o) const {
    return to.left == o.to.left && to.top == o.to.top && to.right == o.to.right && to.bottom == o.to.bottom &&
           source == o.source && stamp == o.stamp && fromX == o.fromX && fromY == o.fromY && keyed == o.keyed &&
           fill == o.fill;
}

BackBuffer::BackBuffer(SurfacePtr front) : front_(std::move(front)) {}

void BackBuffer::Add(Op op, bool coversAll) {
    // Whatever lies under an opaque copy of the whole screen can't show.
    if (coversAll) drawing_.clear();
    drawing_.push_back(std::move(op));
}

void BackBuffer::Fill(uint16_t value) {
    Op op;
    op.to = {0, 0, Width(), Height()};
    op.fill = value;
    Add(std::move(op), true);
}

bool BackBuffer::Blit(int32_t x, int32_t y, const SurfacePtr& src, const Rect* srcRect, BlitMode mode) {
    const std::optional<Rect> source = src ? CopySource(x, y, *src, srcRect, Width(), Height()) : std::nullopt;
    if (!source) return false;
    const Rect& r = *source;
    const int32_t w = r.right - r.left;
    const int32_t h = r.bottom - r.top;

    Op op;
    op.to = {x, y, x + w, y + h};
    op.source = src;
    op.stamp = src->Stamp();
    op.fromX = r.left;
    op.fromY = r.top;
    op.keyed = mode == BlitMode::Keyed && src->ColorKey().has_value();
    const bool coversAll = !op.keyed && w == Width() && h == Height();
    Add(std::move(op), coversAll);
    return true;
}

uint16_t BackBuffer::Pixel(int x, int y) const {
    for (auto op = drawing_.rbegin(); op != drawing_.rend(); ++op) {
        if (!Contains(op->to, x, y)) continue;
        if (!op->source) return op->fill;
        const uint16_t v = op->source->Pixel(op->fromX + x - op->to.left, op->fromY + y - op->to.top);
        if (!op->keyed || v != op->source->ColorKey()) return v;
    }
    return front_->Pixel(x, y);
}

void BackBuffer::Draw(const Op& op, const Rect& clip) {
    const Rect part = Intersect(op.to, clip);
    if (part.left >= part.right || part.top >= part.bottom) return;
    if (!op.source) {
        front_->FillRect(part, op.fill);
        return;
    }
    const Rect from{op.fromX + part.left - op.to.left, op.fromY + part.top - op.to.top,
                    op.fromX + part.right - op.to.left, op.fromY + part.bottom - op.to.top};
    front_->Blit(part.left, part.top, *op.source, &from, op.keyed ? BlitMode::Keyed : BlitMode::Opaque);
}

std::vector<Rect> BackBuffer::Flip() {
    // A pixel that no op of one list alone covers sees the same ops in the
    // same order in both frames, and so looks the same.
    std::vector<Rect> changed;
    if (drawing_.size() == shown_.size()) {
        for (size_t i = 0; i < drawing_.size(); ++i) {
            if (drawing_[i] == shown_[i]) continue;
            changed.push_back(drawing_[i].to);
            changed.push_back(shown_[i].to);
        }
    } else {
        size_t same = 0;
        const size_t shorter = std::min(drawing_.size(), shown_.size());
        while (same < shorter && drawing_[same] == shown_[same]) ++same;
        size_t sameEnd = 0;
        while (sameEnd < shorter - same &&
               drawing_[drawing_.size() - 1 - sameEnd] == shown_[shown_.size() - 1 - sameEnd]) {
            ++sameEnd;
        }
        for (size_t i = same; i < drawing_.size() - sameEnd; ++i) changed.push_back(drawing_[i].to);
        for (size_t i = same; i < shown_.size() - sameEnd; ++i) changed.push_back(shown_[i].to);
    }
    changed = JoinOverlaps(std::move(changed));
    for (const Rect& area : changed) {
        for (const Op& op : drawing_) Draw(op, area);
    }
    shown_ = std::move(drawing_);
    drawing_.clear();
    return changed;
}
