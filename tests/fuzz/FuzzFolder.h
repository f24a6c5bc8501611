// What the fuzz targets share: a scratch game folder made once per process,
// a way to put the input into one of its files, and a failed rule reported
// the way libFuzzer keeps it (a crash, with the input saved).
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include "platform/Paths.h"

class FuzzFolder {
public:
    FuzzFolder() {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/vesk-fuzz-XXXXXX";
        const char* made = mkdtemp(pattern.data());
        if (!made) std::abort();
        path_ = made;
        SetGameFolder(path_);
        std::filesystem::create_directories(path_ + "/Tex");
    }
    // The folder goes when the process ends normally; a crash leaves it in
    // /tmp for a look.
    ~FuzzFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    static FuzzFolder& Instance() {
        static FuzzFolder folder;
        return folder;
    }

    std::string File(const std::string& name) const { return path_ + "/" + name; }

    void Write(const std::string& name, const uint8_t* data, size_t size) const {
        std::ofstream out(File(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    std::string Read(const std::string& name) const {
        std::ifstream in(File(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

private:
    std::string path_;
};

// A broken rule: said on stderr, then a crash libFuzzer records with the input.
#define FUZZ_RULE(ok, ...)                                                  \
    do {                                                                    \
        if (!(ok)) {                                                        \
            std::fprintf(stderr, "rule broken: %s: ", #ok);                 \
            std::fprintf(stderr, __VA_ARGS__);                              \
            std::fprintf(stderr, "\n");                                     \
            std::abort();                                                   \
        }                                                                   \
    } while (0)

inline uint32_t FuzzLe32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}
