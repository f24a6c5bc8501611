// Replacing a small file's contents whole, for files the game rewrites.
#pragma once

#include <string>

// Replaces the contents of the file at `path` with `text`, so that a crash
// or a full disk never leaves half a file: the text goes to a temporary file
// of its own beside the file (beside the file a link points to, so the link
// stays), is flushed to disk, takes the old file's mode and is renamed over
// it. Where no temporary file can be made (a folder the player may not
// write to), the file is rewritten in place. Anything but a plain file in
// the file's place is left alone. False when the text could not be stored.
bool ReplaceFileContents(const std::string& path, const std::string& text);
