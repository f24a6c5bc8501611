// Reading a small text file of the player's whole, for the files the game
// keeps in the player folder.
#pragma once

#include <cstddef>
#include <string>

enum class SmallFile {
    Read,       // the text is the file's
    Missing,    // no such file
    Unusable,   // it cannot be read, or it is longer than asked for
};

// At most `most` bytes: a longer file is no file of ours, and is not read.
SmallFile ReadSmallFile(const std::string& path, std::size_t most, std::string& text);
