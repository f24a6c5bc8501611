#include "platform/MixerAudio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <cmath>
#include <numbers>

#include "platform/Platform.h"
#include "platform/QuietAlsa.h"

namespace {

// Load failures, in the manner of an HRESULT.
constexpr int32_t kErrFileNotFound = static_cast<int32_t>(0x80070002u);  // no such file
constexpr int32_t kErrNotOpen = static_cast<int32_t>(0x80070015u);       // no device to load for

constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
constexpr int kChunkSize = 1024;

bool OpenMixer() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(kFrequency, MIX_DEFAULT_FORMAT, kOutputChannels, kChunkSize) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    return true;
}

uint32_t Le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// Whether every chunk of a RIFF file, from its first after the form type to
// the end of the file, lies in the file (SDL allocates what a chunk declares
// before it reads it), and whether a WAV's format names a usual number of
// channels and rate (converting a far-off rate multiplies the sound's size).
bool ChunksFit(SDL_RWops* file, Sint64 size) {
    constexpr uint32_t kMaxChannels = 8;
    constexpr uint32_t kLowestRate = 1000;
    constexpr uint32_t kHighestRate = 384000;
    Sint64 at = 12;
    uint8_t head[8];
    while (at <= size - 8) {
        if (SDL_RWseek(file, at, RW_SEEK_SET) != at || SDL_RWread(file, head, 1, sizeof head) != sizeof head) {
            return false;
        }
        const Sint64 length = Le32(head + 4);
        at += 8;
        if (length > size - at) return false;
        uint8_t format[8];
        if (SDL_memcmp(head, "fmt ", 4) == 0 && length >= 8) {
            if (SDL_RWread(file, format, 1, sizeof format) != sizeof format) return false;
            const uint32_t channels = static_cast<uint32_t>(format[2]) | static_cast<uint32_t>(format[3]) << 8;
            const uint32_t rate = Le32(format + 4);
            if (channels < 1 || channels > kMaxChannels || rate < kLowestRate || rate > kHighestRate) return false;
        }
        at += length + (length & 1);  // chunks are padded to an even size
    }
    return true;
}

// Opens a sound file for reading; null when it cannot be read, or when it is a
// RIFF file (a WAV) shorter than its own header or one of its chunks says: a
// file cut short is damaged, and SDL would otherwise play whatever part of it
// is left, or first allocate all that a chunk claims.
SDL_RWops* OpenSoundFile(const std::string& path, int32_t& error) {
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    if (!file) {
        error = kErrFileNotFound;
        return nullptr;
    }
    uint8_t head[8];
    if (SDL_RWread(file, head, 1, sizeof head) == sizeof head && SDL_memcmp(head, "RIFF", 4) == 0) {
        const uint32_t body = Le32(head + 4);
        // 0 and 0xFFFFFFFF are what streaming writers leave when they do not know the size.
        const bool sizeKnown = body != 0 && body != 0xFFFFFFFFu;
        const Sint64 size = SDL_RWsize(file);
        if (size < 0 || (sizeKnown && static_cast<uint64_t>(size) < static_cast<uint64_t>(body) + 8u) ||
            !ChunksFit(file, size)) {
            SDL_RWclose(file);
            error = kErrFail;
            return nullptr;
        }
    }
    if (SDL_RWseek(file, 0, RW_SEEK_SET) != 0) {
        SDL_RWclose(file);
        error = kErrFail;
        return nullptr;
    }
    return file;
}

}  // namespace

Pan PanFor(float x) {
    const float across = std::clamp(x + 0.5f, 0.0f, 1.0f);  // 0 left edge .. 1 right edge
    const float angle = across * (std::numbers::pi_v<float> / 2.0f);
    const auto level = [](float gain) { return static_cast<uint8_t>(std::lround(std::clamp(gain, 0.0f, 1.0f) * 255.0f)); };
    return Pan{level(std::cos(angle)), level(std::sin(angle))};
}

MixerAudio::~MixerAudio() { Close(); }

void MixerAudio::Open() {
    if (open_ || silent_) return;
    QuietAlsa();
    if (OpenMixer()) {
        open_ = true;
        return;
    }
    const std::string deviceError = SDL_GetError();
    // No usable device (or none at all): play silently on the dummy driver,
    // whatever driver the environment asks for.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, fallbackDriver_.c_str(), SDL_HINT_OVERRIDE);
    open_ = OpenMixer();
    dummy_ = open_;
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    if (open_) {
        std::fprintf(stderr, "Vesk: playing silently: no sound device could be opened (%s)\n", deviceError.c_str());
        std::fflush(stderr);
        return;
    }
    // Not even that: the game runs without sound, and says so once.
    silent_ = true;
    std::fprintf(stderr, "Vesk: sound is off: no audio device could be opened (%s; %s driver: %s)\n",
                 deviceError.c_str(), fallbackDriver_.c_str(), SDL_GetError());
    std::fflush(stderr);
}

int32_t MixerAudio::LoadMusic(const std::string& path) {
    if (silent_) return CheckSilently(path);
    if (!open_) return kErrNotOpen;
    if (music_) {
        Mix_HaltMusic();
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    int32_t error = kOk;
    SDL_RWops* file = OpenSoundFile(path, error);
    if (!file) return error;
    // The kind of tune is told by its content, not by the file's extension.
    music_ = Mix_LoadMUSType_RW(file, MUS_NONE, SDL_TRUE);
    return music_ ? kOk : kErrFail;
}

void MixerAudio::PlayMusic() {
    if (!open_ || !music_) return;
    Mix_PlayMusic(music_, -1);  // from the start, repeating without end
}

void MixerAudio::StopAll() {
    if (!open_) return;
    Mix_HaltMusic();
    Mix_HaltChannel(-1);
}

int32_t MixerAudio::LoadEffect(const std::string& path) {
    if (silent_) {
        const int32_t checked = CheckSilently(path);
        if (checked < 0) return checked;
        effects_.push_back(nullptr);  // a handle that plays nothing
        return static_cast<int32_t>(effects_.size() - 1);
    }
    if (!open_) return kErrNotOpen;
    int32_t error = kOk;
    SDL_RWops* file = OpenSoundFile(path, error);
    if (!file) return error;
    // The kind of sound is told by its content. The stream is closed here:
    // the mixer does not close it on every failed load when asked to.
    Mix_Chunk* chunk = Mix_LoadWAV_RW(file, SDL_FALSE);
    SDL_RWclose(file);
    if (!chunk) return kErrFail;
    effects_.push_back(chunk);
    return static_cast<int32_t>(effects_.size() - 1);
}

int32_t MixerAudio::CheckSilently(const std::string& path) {
    // Without a device nothing can be decoded; a missing or cut-short file is
    // still told apart.
    int32_t error = kOk;
    SDL_RWops* file = OpenSoundFile(path, error);
    if (!file) return error;
    SDL_RWclose(file);
    return kOk;
}

Mix_Chunk* MixerAudio::Effect(int32_t handle) const {
    if (handle < 0 || static_cast<size_t>(handle) >= effects_.size()) return nullptr;
    return effects_[static_cast<size_t>(handle)];
}

void MixerAudio::PlayEffect(int32_t handle, float x, float /*y*/, float /*z*/) {
    lastChannel_ = -1;
    Mix_Chunk* chunk = Effect(handle);
    if (!open_ || !chunk) return;

    // A free channel, or a new one: a new play never cuts one that sounds.
    const int channels = Mix_AllocateChannels(-1);
    int channel = -1;
    for (int i = 0; i < channels; ++i) {
        if (!Mix_Playing(i)) {
            channel = i;
            break;
        }
    }
    if (channel < 0) {
        if (channels >= kMaxChannels) return;
        const int grown = std::min(kMaxChannels, std::max(channels * 2, channels + 1));
        if (Mix_AllocateChannels(grown) <= channels) return;
        channel = channels;
    }

    // Panned before it starts, so no sample is heard from the wrong place.
    const Pan pan = PanFor(x);
    Mix_SetPanning(channel, pan.left, pan.right);
    lastChannel_ = Mix_PlayChannel(channel, chunk, 0);
}

void MixerAudio::ReleaseEffect(int32_t handle) {
    Mix_Chunk* chunk = Effect(handle);
    if (!chunk) return;
    if (open_) {
        const int channels = Mix_AllocateChannels(-1);
        for (int i = 0; i < channels; ++i) {
            if (Mix_GetChunk(i) == chunk) Mix_HaltChannel(i);
        }
    }
    Mix_FreeChunk(chunk);
    effects_[static_cast<size_t>(handle)] = nullptr;
}

void MixerAudio::Close() {
    if (open_) {
        Mix_HaltMusic();
        Mix_HaltChannel(-1);
    }
    for (int32_t handle = 0; handle < static_cast<int32_t>(effects_.size()); ++handle) ReleaseEffect(handle);
    effects_.clear();
    if (music_) {
        Mix_FreeMusic(music_);
        music_ = nullptr;
    }
    if (open_) {
        Mix_CloseAudio();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
    open_ = false;
    dummy_ = false;
    silent_ = false;
    lastChannel_ = -1;
}
