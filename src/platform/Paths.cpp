#include "platform/Paths.h"

#include <algorithm>

namespace {
std::string& Folder() {
    static std::string folder;
    return folder;
}
}  // namespace

void SetGameFolder(const std::string& folder) { Folder() = folder; }

const std::string& GameFolder() { return Folder(); }

std::string HostPath(std::string_view gameName) {
    std::string path(gameName);
    std::replace(path.begin(), path.end(), '\\', '/');
    const std::string& folder = Folder();
    if (folder.empty()) return path;
    if (folder.back() == '/') return folder + path;
    return folder + "/" + path;
}

std::string PlayerPath(std::string_view gameName) { return HostPath(gameName); }
