// The game's sound device on SDL2_mixer: the tune as looping music, every
// effect as a chunk played on a channel of its own and panned by where it
// plays. A machine without a usable audio device gets SDL's dummy driver, so
// the files are still loaded and checked and the game runs silently; where
// even that fails, it runs silently all the same and says why on stderr.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/AudioEngine.h"

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

// Channel volumes for SDL_mixer's panning (0 silent .. 255 full).
struct Pan {
    uint8_t left;
    uint8_t right;
    bool operator==(const Pan&) const = default;
};

// Equal-power pan from an effect's x: -0.5 (the left edge of the screen) is
// fully left, 0 centred, +0.5 fully right; values beyond are held at the
// edges. left^2 + right^2 stays at 255^2 all the way across.
Pan PanFor(float x);

class MixerAudio : public AudioEngine {
public:
    // fallbackDriver: SDL's audio driver tried when no device opens.
    explicit MixerAudio(std::string fallbackDriver = "dummy") : fallbackDriver_(std::move(fallbackDriver)) {}
    ~MixerAudio() override;
    MixerAudio(const MixerAudio&) = delete;
    MixerAudio& operator=(const MixerAudio&) = delete;

    void Open() override;
    int32_t LoadMusic(const std::string& path) override;
    void PlayMusic() override;
    void StopAll() override;
    int32_t LoadEffect(const std::string& path) override;
    // y and z do not change what is heard: the mix is stereo, so only the
    // left-right position (x) counts.
    void PlayEffect(int32_t handle, float x, float y, float z) override;
    void ReleaseEffect(int32_t handle) override;
    void Close() override;

    // What was brought up, for the curious and for tests.
    bool IsOpen() const { return open_; }
    bool UsedDummyDriver() const { return dummy_; }
    // Not even the fallback driver opened: files are looked at, nothing plays.
    bool IsSilent() const { return silent_; }
    // The mixer channel the last PlayEffect used (-1: none).
    int LastChannel() const { return lastChannel_; }

    // Channels are added when all are busy, up to this many; past that a new
    // effect is dropped rather than cutting one that sounds.
    static constexpr int kMaxChannels = 256;

private:
    int32_t CheckSilently(const std::string& path);
    Mix_Chunk* Effect(int32_t handle) const;

    std::string fallbackDriver_;
    bool open_ = false;
    bool dummy_ = false;
    bool silent_ = false;
    Mix_Music* music_ = nullptr;
    std::vector<Mix_Chunk*> effects_;  // by handle; null once released
    int lastChannel_ = -1;
};
