// The back buffer. Every frame clears it and draws the whole screen again;
// it keeps those clears and copies as a list and puts them onto the shown
// frame at the flip, only where the list differs from the last frame's. A
// still screen then costs the comparison of two short lists, and the flip
// knows which rectangles of the screen may have changed.
#pragma once

#include <vector>

#include "gfx/Surface.h"

class BackBuffer {
public:
    // `front` is the frame the drawing goes onto at each flip; what a frame
    // does not cover keeps what the front showed.
    explicit BackBuffer(SurfacePtr front);

    int Width() const { return front_->Width(); }
    int Height() const { return front_->Height(); }

    // The whole buffer becomes `value`.
    void Fill(uint16_t value);
    // As Surface::Blit: a copy not wholly inside src and the buffer is
    // refused and false returned. The image is read at the flip: the game's
    // images don't change once loaded or cut.
    bool Blit(int32_t x, int32_t y, const SurfacePtr& src, const Rect* srcRect, BlitMode mode);

    // This frame starts as the last one flipped, so that what is drawn now
    // goes over that frame as it was shown.
    void Reopen() { drawing_ = shown_; }

    // The pixel as the flip will show it.
    uint16_t Pixel(int x, int y) const;

    // Draws this frame onto the front where it differs from the frame flipped
    // before and starts the next frame. Returns rectangles, not overlapping,
    // outside which the front is as it was.
    std::vector<Rect> Flip();

private:
    struct Op {
        Rect to;                // where it lands
        SurfacePtr source;      // none for a fill
        uint64_t stamp = 0;     // the source's look when drawn
        int32_t fromX = 0;      // the source pixel drawn at to's top-left
        int32_t fromY = 0;
        bool keyed = false;
        uint16_t fill = 0;

        bool operator==(const Op& o) const;
    };

    void Add(Op op, bool coversAll);
    void Draw(const Op& op, const Rect& clip);

    SurfacePtr front_;
    std::vector<Op> drawing_;  // this frame's, in order
    std::vector<Op> shown_;    // the last flipped frame's
};

// The same pixels as `rects`, and more, in rectangles that do not overlap:
// overlapping ones are joined into the rectangle around both. Empty ones are
// dropped; past `most` rectangles, the one around them all is returned.
std::vector<Rect> JoinOverlaps(std::vector<Rect> rects, size_t most = 32);
