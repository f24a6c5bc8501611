// Small sound files made on the spot: good WAV files of a given length, and
// broken ones for the failure paths.
#pragma once

#include <cmath>
#include <cstdint>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace wav {

inline void Put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}
inline void PutTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

// A mono 16-bit PCM WAV file holding a steady tone.
inline std::vector<uint8_t> Tone(double seconds, int rate = 22050, double hz = 440.0) {
    const uint32_t frames = static_cast<uint32_t>(seconds * rate);
    const uint32_t dataBytes = frames * 2;
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataBytes);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1);  // PCM
    Put16(out, 1);  // mono
    Put32(out, static_cast<uint32_t>(rate));
    Put32(out, static_cast<uint32_t>(rate) * 2);
    Put16(out, 2);
    Put16(out, 16);
    PutTag(out, "data");
    Put32(out, dataBytes);
    for (uint32_t i = 0; i < frames; ++i) {
        const double s = std::sin(2.0 * std::numbers::pi * hz * i / rate);
        Put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(s * 12000.0))));
    }
    return out;
}

inline void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

// The first `keep` bytes of a good file: cut inside its header when small.
inline std::vector<uint8_t> Truncated(std::vector<uint8_t> bytes, size_t keep) {
    bytes.resize(std::min(keep, bytes.size()));
    return bytes;
}

}  // namespace wav
