// The game's entry point: the command line, the two folders, the SDL
// machine, the SDL_mixer sound, and the run.
#include <cstdio>

#include "app/CommandLine.h"
#include "app/FrameLoop.h"
#include "platform/Folders.h"
#include "platform/MixerAudio.h"
#include "platform/SdlPlatform.h"

int main(int argc, char** argv) {
    const CommandLine line = ParseCommandLine(argc, argv);
    if (line.action != CommandLine::Action::Play) return AnswerCommandLine(line, stdout, stderr);
    SettleFolders();
    SdlPlatform platform;
    platform.PlayInWindow(line.windowed);
    MixerAudio audio;
    return VeskMain(platform, audio);
}
