// Game files are named as the game has always named them, relative to a
// folder and with backslashes ("Tex\Menu\Exit.Tex"). This is the one place
// where such a name becomes a path on this machine.
//
// Files have two homes. The data folder holds what the game only reads (the
// pictures, sounds, Shuffle.txt, the icon); the player folder holds what it
// writes (ScoreFile.txt, the GAME<n>.bmp captures). Run from the ready-to-run
// folder both are that folder; an installed game reads from its installed
// data and writes into the player's home.
#pragma once

#include <string>
#include <string_view>

// A third home, the cache folder, holds what the game prepares from other
// files and can always make again (the player's photos made ready for play).
//
// Sets the data and player folders at once; empty means the working
// directory. The cache folder is then its cache/ folder.
void SetGameFolder(const std::string& folder);
// The folder read from (the same as DataFolder()).
const std::string& GameFolder();

void SetDataFolder(const std::string& folder);
const std::string& DataFolder();
void SetPlayerFolder(const std::string& folder);
const std::string& PlayerFolder();
void SetCacheFolder(const std::string& folder);
// Empty when there is none (no home folder): nothing is then cached.
const std::string& CacheFolder();

// "Tex\Menu\Exit.Tex" -> "<data folder>/Tex/Menu/Exit.Tex"
std::string HostPath(std::string_view gameName);
// "ScoreFile.txt" -> "<player folder>/ScoreFile.txt"; also the player's own
// files ("Pictures\Cat.png").
std::string PlayerPath(std::string_view gameName);

// Tells the player on stdout where a file they asked for was saved.
void ReportSavedFile(const std::string& path);
