// Music and sound effects: the looping tune and three effects, each effect
// placed at the pointer's position when it plays.
#include "app/Game.h"
#include "platform/Paths.h"

int32_t Game::StartMusic() {
    audio.Open();
    musicLoader = true;
    performance = true;
    const int32_t loaded = audio.LoadMusic(HostPath("Audio\\BkGnd.mus"));
    if (loaded < 0) {
        platform.ShowMessage("BkGnd.mus not found,  Program will now quit", "BkGnd Music");
        audio.Close();
        musicLoader = false;
        performance = false;
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
        audio.Close();
        musicLoader = false;
        performance = false;
        backgroundMusic = false;
        return handle;
    }
    effect.handle = handle;
    return 1;
}

void Game::PlaySoundEffect(SoundEffect& effect) {
    if (effect.handle < 0 || !performance) return;
    ReadCursor();
    const float x = static_cast<float>(cursor.x - 400) * 0.00125f;
    const float y = static_cast<float>(cursor.y - 300) * (1.0f / 600.0f);
    audio.PlayEffect(effect.handle, x, y, 0.0f);
}

void Game::ReleaseSoundEffect(SoundEffect& effect) {
    if (effect.handle >= 0 && performance) audio.ReleaseEffect(effect.handle);
    effect.handle = -1;
}

void Game::ShutdownAudio() {
    if (!performance) return;
    audio.StopAll();
    ReleaseSoundEffect(soundButton);
    ReleaseSoundEffect(soundTile);
    ReleaseSoundEffect(soundSuccess);
    audio.Close();
    musicLoader = false;
    performance = false;
    backgroundMusic = false;
}

void Game::MusicOff() {
    if (performance) audio.StopAll();
}

void Game::MusicOn() {
    if (performance && backgroundMusic) audio.PlayMusic();
}
