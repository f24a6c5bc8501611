// The game's sound device: one looping tune and any number of short effects,
// each effect played at a position in space. The real one wraps SDL2_mixer.
#pragma once

#include <cstdint>
#include <string>

class AudioEngine {
public:
    virtual ~AudioEngine() = default;

    // Brings the device up; nothing is loaded yet.
    virtual void Open() = 0;
    // Loads the tune; a negative status when the file cannot be loaded.
    virtual int32_t LoadMusic(const std::string& path) = 0;
    // Plays the tune from its beginning, repeating without end.
    virtual void PlayMusic() = 0;
    // Stops the tune and every effect that is sounding.
    virtual void StopAll() = 0;
    // Loads an effect: a handle (0 or more), or a negative status on failure.
    virtual int32_t LoadEffect(const std::string& path) = 0;
    // Plays an effect over whatever sounds, at x, y, z (x: -0.5 left .. +0.5 right).
    virtual void PlayEffect(int32_t handle, float x, float y, float z) = 0;
    virtual void ReleaseEffect(int32_t handle) = 0;
    // Stops everything and takes the device down; releases the tune.
    virtual void Close() = 0;
};
