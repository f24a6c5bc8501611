#include "platform/Folders.h"

#include <SDL.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/Paths.h"

#ifndef VESK_DATA_FROM_EXE
#define VESK_DATA_FROM_EXE "../share/games/vesk"
#endif

namespace fs = std::filesystem;

namespace {

bool IsAbsolute(const char* path) { return path && path[0] == '/'; }

// The home folder: $HOME, or the password database's when HOME is not set.
const char* HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home && *home) return home;
    if (const passwd* entry = getpwuid(getuid())) return entry->pw_dir;
    return nullptr;
}

}  // namespace

bool IsReadyToRunFolder(const std::string& folder) {
    std::error_code ec;
    const fs::path base(folder);
    // Tex/ alone: Shuffle.txt may be missing (the 2x2 boards are then dealt
    // at random), and an installed game never has Tex/ beside its executable.
    return fs::is_directory(base / "Tex", ec);
}

namespace {

// <xdg>/vesk, or <home>/<fallback> when the XDG variable is of no use.
std::string XdgFolder(const char* xdg, const char* home, const char* fallback) {
    if (IsAbsolute(xdg)) return (fs::path(xdg) / "vesk").lexically_normal().string();
    if (home && *home) return (fs::path(home) / fallback).lexically_normal().string();
    return {};
}

}  // namespace

std::string InstalledPlayerFolder(const char* xdgDataHome, const char* home) {
    return XdgFolder(xdgDataHome, home, ".local/share/vesk");
}

std::string InstalledCacheFolder(const char* xdgCacheHome, const char* home) {
    return XdgFolder(xdgCacheHome, home, ".cache/vesk");
}

Folders ChooseFolders(const std::string& exeFolder, const std::string& dataFromExe, const char* xdgDataHome,
                      const char* home, const char* xdgCacheHome) {
    Folders folders;
    if (exeFolder.empty() || IsReadyToRunFolder(exeFolder)) {
        folders.data = exeFolder;
        folders.player = exeFolder;
        folders.cache = (fs::path(exeFolder) / "cache").lexically_normal().string();
        return folders;
    }
    folders.installed = true;
    folders.data = (fs::path(exeFolder) / dataFromExe).lexically_normal().string();
    folders.player = InstalledPlayerFolder(xdgDataHome, home);
    folders.cache = InstalledCacheFolder(xdgCacheHome, home);
    return folders;
}

bool MakePrivateFolder(const std::string& folder) {
    if (folder.empty()) return false;
    const fs::path path(folder);
    fs::path sofar;
    std::error_code ec;
    for (const fs::path& part : path) {
        sofar /= part;
        if (fs::is_directory(sofar, ec)) continue;
        if (mkdir(sofar.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    if (fs::is_directory(path, ec)) return true;
    errno = ENOTDIR;
    return false;
}

void SettleFolders() {
    std::string exeFolder;
    if (char* base = SDL_GetBasePath()) {
        exeFolder = base;
        SDL_free(base);
    }
    const Folders folders = ChooseFolders(exeFolder, VESK_DATA_FROM_EXE, std::getenv("XDG_DATA_HOME"), HomeFolder(),
                                          std::getenv("XDG_CACHE_HOME"));
    SetDataFolder(folders.data);
    SetPlayerFolder(folders.player);
    SetCacheFolder(folders.cache);
    if (!folders.installed) return;
    if (folders.player.empty()) {
        std::fprintf(stderr, "vesk: no home folder; best times and captures go to the working directory\n");
    } else if (!MakePrivateFolder(folders.player)) {
        std::fprintf(stderr, "vesk: cannot make %s (%s); best times are kept for this run only\n",
                     folders.player.c_str(), std::strerror(errno));
    }
}
