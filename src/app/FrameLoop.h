// The program's run: start-up in its fixed order, the frame loop with at
// most one window message a frame and a 33 ms pace, and the teardown. It
// talks to the machine only through Platform and AudioEngine, so tests run
// it on the fakes and main() runs it on SDL.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/AudioEngine.h"
#include "platform/Platform.h"

// What the window does with one message: Destroy queues the quit message,
// KillFocus ends the process at once with 1 (exit handlers run, nothing is
// released), LButtonDown sets `clicked` of the game. Anything else is ignored.
void WindowProc(Platform& platform, Message message);

// The whole program. Returns its exit code (0) when the frame loop ends on
// the quit message or when loading stops on a sound or keyboard failure;
// every other ending leaves through Platform::Exit.
int VeskMain(Platform& platform, AudioEngine& audio);

// Milliseconds still to wait for a frame begun at tick `start` to have
// lasted `ms`, in unsigned 32-bit arithmetic so that the wrap of the tick
// counter in between does no harm. 0 when the time is up.
constexpr uint32_t FrameTimeLeft(uint32_t now, uint32_t start, uint32_t ms) {
    const uint32_t spent = now - start;
    return spent >= ms ? 0 : ms - spent;
}

// Returns once ticks() - start >= ms, sleeping (sleep(n): at least n ms)
// rather than spinning.
void WaitForTicks(uint32_t start, uint32_t ms, const std::function<uint32_t()>& ticks,
                  const std::function<void(uint32_t)>& sleep);
