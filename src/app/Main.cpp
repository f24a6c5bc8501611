// The game's entry point: the SDL machine, the SDL_mixer sound, and the run.
#include "app/FrameLoop.h"
#include "platform/MixerAudio.h"
#include "platform/SdlPlatform.h"

int main() {
    SdlPlatform platform;
    MixerAudio audio;
    return VeskMain(platform, audio);
}
