// A recording audio engine: every call in order, with its arguments.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "platform/AudioEngine.h"

struct EffectPlay {
    int32_t handle;
    float x, y, z;
};

class FakeAudio : public AudioEngine {
public:
    std::set<std::string> missing;  // file names (last path part) that fail to load
    std::vector<std::string> calls;
    std::vector<EffectPlay> plays;
    std::vector<std::string> loadedEffects;  // host paths by handle
    int musicStarts = 0;
    bool open = false;

    static std::string Leaf(const std::string& path) {
        const size_t slash = path.find_last_of('/');
        return slash == std::string::npos ? path : path.substr(slash + 1);
    }

    void Open() override {
        calls.push_back("Open");
        open = true;
    }
    int32_t LoadMusic(const std::string& path) override {
        calls.push_back("LoadMusic " + Leaf(path));
        return missing.count(Leaf(path)) ? -2 : 0;
    }
    void PlayMusic() override {
        calls.push_back("PlayMusic");
        ++musicStarts;
    }
    void StopAll() override { calls.push_back("StopAll"); }
    int32_t LoadEffect(const std::string& path) override {
        calls.push_back("LoadEffect " + Leaf(path));
        if (missing.count(Leaf(path))) return -3;
        loadedEffects.push_back(Leaf(path));
        return static_cast<int32_t>(loadedEffects.size() - 1);
    }
    void PlayEffect(int32_t handle, float x, float y, float z) override {
        calls.push_back("PlayEffect " + loadedEffects.at(handle));
        plays.push_back({handle, x, y, z});
    }
    void ReleaseEffect(int32_t handle) override { calls.push_back("ReleaseEffect " + loadedEffects.at(handle)); }
    void Close() override {
        calls.push_back("Close");
        open = false;
    }

    // The names of the effects played, in order.
    std::vector<std::string> Played() const {
        std::vector<std::string> names;
        for (const EffectPlay& p : plays) names.push_back(loadedEffects.at(p.handle));
        return names;
    }
};
