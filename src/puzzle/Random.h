#pragma once

#include <cstdint>

// The deal's pseudo-random numbers: a 32-bit linear congruential generator.
// Seeded with 1, its first draw is 41.
class DealRandom {
public:
    explicit DealRandom(uint32_t seed = 1) : state_(seed) {}
    void Seed(uint32_t seed) { state_ = seed; }
    // A value in 0..32767.
    int32_t Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int32_t>((state_ >> 16) & 0x7FFF);
    }

private:
    uint32_t state_;
};
