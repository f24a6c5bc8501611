// Where the game's two folders lie on this machine (see Paths.h): the
// ready-to-run folder for both, or for an installed game its data folder
// beside the executable's and the player folder in the player's home.
#pragma once

#include <string>

struct Folders {
    std::string data;    // read from
    std::string player;  // written to
    std::string cache;   // what the game prepares and may throw away
    bool installed = false;
};

// A folder with Tex/ in it is the ready-to-run folder.
bool IsReadyToRunFolder(const std::string& folder);

// The player folder of an installed game: $XDG_DATA_HOME/vesk, or
// <home>/.local/share/vesk when XDG_DATA_HOME is unset, empty or not an
// absolute path (such a value is ignored). Empty when home is no help either.
std::string InstalledPlayerFolder(const char* xdgDataHome, const char* home);

// The cache folder of an installed game: $XDG_CACHE_HOME/vesk, or
// <home>/.cache/vesk when XDG_CACHE_HOME is unset, empty or not an absolute
// path. Empty when home is no help either.
std::string InstalledCacheFolder(const char* xdgCacheHome, const char* home);

// exeFolder: the executable's folder (empty when unknown: the working
// directory then serves for both). dataFromExe: the installed data folder
// relative to the executable's ("../share/games/vesk").
// The ready-to-run folder keeps its cache in its own cache/ folder.
Folders ChooseFolders(const std::string& exeFolder, const std::string& dataFromExe, const char* xdgDataHome,
                      const char* home, const char* xdgCacheHome = nullptr);

// Makes the folder and the parents it lacks, each new one private (0700).
// True when it is there as a folder afterwards.
bool MakePrivateFolder(const std::string& folder);

// At start-up: finds the executable, reads the environment, makes the player
// folder of an installed game and points Paths at the three folders (the
// cache folder is made by whoever first writes into it, MakePrivateFolder). Problems are told
// on stderr; the game still runs (a best time then lasts for the run only).
void SettleFolders();
