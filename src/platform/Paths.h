// Game files are named as the game has always named them, relative to the
// game folder and with backslashes ("Tex\Menu\Exit.Tex"). This is the one
// place where such a name becomes a path on this machine.
#pragma once

#include <string>
#include <string_view>

// The folder the game's files are taken from; empty means the working directory.
void SetGameFolder(const std::string& folder);
const std::string& GameFolder();

// "Tex\Menu\Exit.Tex" -> "<folder>/Tex/Menu/Exit.Tex"
std::string HostPath(std::string_view gameName);

// The player's own files ("Pictures\Cat.png"): for now they live in the game
// folder too, exactly as HostPath maps them.
std::string PlayerPath(std::string_view gameName);
