#include "platform/SmallFile.h"

#include <cerrno>
#include <cstdio>
#include <utility>

SmallFile ReadSmallFile(const std::string& path, std::size_t most, std::string& text) {
    text.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return errno == ENOENT ? SmallFile::Missing : SmallFile::Unusable;
    std::string read(most + 1, '\0');
    const std::size_t got = std::fread(read.data(), 1, read.size(), file);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || got > most) return SmallFile::Unusable;
    read.resize(got);
    text = std::move(read);
    return SmallFile::Read;
}
