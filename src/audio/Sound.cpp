// Music and sound effects: the looping tune and three effects, each effect
// placed at the pointer's position when it plays (a tile moved by a key: at
// the tile).
#include "app/Game.h"
#include "platform/Paths.h"

namespace {

// After the engine is closed nothing it held is valid any more: the tune and
// every effect went with it.
void ForgetAudio(Game& game) {
    game.musicLoader = false;
    game.performance = false;
    game.backgroundMusic = false;
    for (SoundEffect* effect : {&game.soundButton, &game.soundTile, &game.soundSuccess}) effect->handle = -1;
}

}  // namespace

int32_t Game::StartMusic() {
    audio.Open();  // a machine without sound still runs: the engine plays silently
    musicLoader = true;
    performance = true;
    const int32_t loaded = audio.LoadMusic(HostPath("Audio\\BkGnd.mus"));
    if (loaded < 0) {
        platform.ShowMessage("BkGnd.mus not found,  Program will now quit", "BkGnd Music");
        audio.Close();
        ForgetAudio(*this);
        return loaded;
    }
    backgroundMusic = true;
    audio.PlayMusic();
    return 0;
}

int32_t Game::LoadSoundEffect(const std::string& path, SoundEffect& effect) {
    const int32_t handle = audio.LoadEffect(HostPath(path));
    if (handle < 0) {
        platform.ShowMessage("Media not found, sample will now quit", "Game");
        // Closing the engine also frees the effects loaded before this one.
        audio.Close();
        ForgetAudio(*this);
        return handle;
    }
    effect.handle = handle;
    return 1;
}

void Game::PlaySoundEffect(SoundEffect& effect) {
    if (effect.handle < 0 || !performance) return;
    ReadCursor();
    PlaySoundEffectAt(effect, cursor);
}

void Game::PlaySoundEffectAt(SoundEffect& effect, Point at) {
    if (effect.handle < 0 || !performance) return;
    // The screen centre is the origin; left and top edges -0.5, right and
    // bottom edges just under +0.5; y grows downwards as on the screen.
    const float x = static_cast<float>(at.x - 400) * 0.00125f;
    const float y = static_cast<float>(at.y - 300) * (1.0f / 600.0f);
    audio.PlayEffect(effect.handle, x, y, 0.0f);
}

void Game::ReleaseSoundEffect(SoundEffect& effect) {
    if (effect.handle >= 0 && performance) audio.ReleaseEffect(effect.handle);
    effect.handle = -1;
}

void Game::ShutdownAudio() {
    if (!performance) return;  // never started, or already closed by a failed start-up
    audio.StopAll();
    ReleaseSoundEffect(soundButton);
    ReleaseSoundEffect(soundTile);
    ReleaseSoundEffect(soundSuccess);
    audio.Close();
    ForgetAudio(*this);
}

// Stops the tune and every effect that sounds, the click that led here included.
void Game::MusicOff() {
    if (performance) audio.StopAll();
}

// The tune again from its beginning, repeating without end.
void Game::MusicOn() {
    if (performance && backgroundMusic) audio.PlayMusic();
}
