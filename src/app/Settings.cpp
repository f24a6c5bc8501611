// The player's settings, Settings.txt in the player folder: a line
// "<name> <value>" each. Today there is one, whether the tiles' numbers show
// ("numbers on" or "numbers off"); a name the game does not know is passed
// over. Missing, the game starts with its defaults; damaged, it says so on
// stderr and starts with its defaults all the same.
#include <cstdio>
#include <string>
#include <string_view>

#include "app/Game.h"
#include "platform/Paths.h"
#include "platform/ReplaceFile.h"
#include "platform/SmallFile.h"

namespace {

constexpr std::size_t kMostBytes = 4096;

std::string SettingsPath() { return PlayerPath("Settings.txt"); }

std::string_view Trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return s;
}

struct Settings {
    bool numbers = false;
};

// False for a file that is not such lines, or a value the game cannot take.
bool ParseSettings(std::string_view text, Settings& settings) {
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line = Trimmed(text.substr(0, newline));
        text = newline == std::string_view::npos ? std::string_view() : text.substr(newline + 1);
        if (line.empty()) continue;
        const std::size_t gap = line.find_first_of(" \t");
        if (gap == std::string_view::npos) return false;
        const std::string_view name = line.substr(0, gap);
        const std::string_view value = Trimmed(line.substr(gap));
        if (name != "numbers") continue;
        if (value != "on" && value != "off") return false;
        settings.numbers = value == "on";
    }
    return true;
}

}  // namespace

void Game::ReadSettings() {
    const std::string path = SettingsPath();
    std::string text;
    const SmallFile read = ReadSmallFile(path, kMostBytes, text);
    if (read == SmallFile::Missing) return;
    Settings settings;
    if (read != SmallFile::Read || !ParseSettings(text, settings)) {
        std::fprintf(stderr, "vesk: %s cannot be read; the game starts with its own settings\n", path.c_str());
        settings = Settings();
    }
    showNumbers = settings.numbers;
}

void Game::WriteSettings() {
    const std::string path = SettingsPath();
    if (!ReplaceFileContents(path, showNumbers ? "numbers on\n" : "numbers off\n")) {
        std::fprintf(stderr, "vesk: cannot save the settings in %s; they last for this run only\n", path.c_str());
    }
}
