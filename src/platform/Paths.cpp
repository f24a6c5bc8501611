#include "platform/Paths.h"

#include <algorithm>
#include <cstdio>

namespace {
std::string& Data() {
    static std::string folder;
    return folder;
}

std::string& Player() {
    static std::string folder;
    return folder;
}

std::string& Cache() {
    static std::string folder = "cache";
    return folder;
}

std::string InFolder(const std::string& folder, std::string_view gameName) {
    std::string path(gameName);
    std::replace(path.begin(), path.end(), '\\', '/');
    if (folder.empty()) return path;
    if (folder.back() == '/') return folder + path;
    return folder + "/" + path;
}
}  // namespace

void SetGameFolder(const std::string& folder) {
    Data() = folder;
    Player() = folder;
    Cache() = InFolder(folder, "cache");
}

const std::string& GameFolder() { return Data(); }

void SetDataFolder(const std::string& folder) { Data() = folder; }
const std::string& DataFolder() { return Data(); }
void SetPlayerFolder(const std::string& folder) { Player() = folder; }
const std::string& PlayerFolder() { return Player(); }
void SetCacheFolder(const std::string& folder) { Cache() = folder; }
const std::string& CacheFolder() { return Cache(); }

std::string HostPath(std::string_view gameName) { return InFolder(Data(), gameName); }

std::string PlayerPath(std::string_view gameName) { return InFolder(Player(), gameName); }

void ReportSavedFile(const std::string& path) {
    std::printf("Saved %s\n", path.c_str());
    std::fflush(stdout);
}
