// The game's sounds, synthesised: a looping background tune and three effects,
// written as 16-bit 44.1 kHz WAV files under the names the game loads.
#include <algorithm>
#include <cmath>
#include <vector>

#include "assets.h"

namespace assetgen {

namespace {

constexpr int kRate = 44100;
constexpr double kTau = 6.283185307179586;

double noteHz(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

// A stereo buffer that wraps around: whatever rings past the end sounds again
// at the start, so the tune loops without a seam.
struct Loop {
    std::vector<double> l, r;
    explicit Loop(size_t n) : l(n, 0.0), r(n, 0.0) {}
    size_t size() const { return l.size(); }
    void add(size_t i, double v, double pan) {  // pan -1 left .. +1 right
        i %= size();
        l[i] += v * std::sqrt(0.5 * (1 - pan));
        r[i] += v * std::sqrt(0.5 * (1 + pan));
    }
};

// A mallet tone: a few partials with their own decays and a soft attack.
void mallet(Loop& out, double start, int midi, double amp, double decay, double pan) {
    const double f = noteHz(midi);
    const size_t n = size_t(decay * 6 * kRate);
    const size_t s0 = size_t(start * kRate);
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        double env = (1 - std::exp(-t / 0.004)) * std::exp(-t / decay);
        double v = std::sin(kTau * f * t) + 0.35 * std::exp(-t / (decay * 0.3)) * std::sin(kTau * 2 * f * t) +
                   0.12 * std::exp(-t / (decay * 0.12)) * std::sin(kTau * 4.01 * f * t);
        out.add(s0 + i, amp * env * v, pan);
    }
}

// A soft pad: two slightly detuned voices, one per side, slow attack and release.
void pad(Loop& out, double start, double length, int midi, double amp) {
    const double f = noteHz(midi);
    const double rel = 0.6;
    const size_t n = size_t((length + rel * 5) * kRate);
    const size_t s0 = size_t(start * kRate);
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        double env = std::min(1.0, t / 0.35) * (t < length ? 1.0 : std::exp(-(t - length) / rel));
        double a = std::sin(kTau * f * 1.003 * t) + 0.25 * std::sin(kTau * 2 * f * 1.003 * t);
        double b = std::sin(kTau * f * 0.997 * t) + 0.25 * std::sin(kTau * 2 * f * 0.997 * t);
        out.add(s0 + i, amp * env * a, -0.6);
        out.add(s0 + i, amp * env * b, 0.6);
    }
}

void bass(Loop& out, double start, double length, int midi, double amp) {
    const double f = noteHz(midi);
    const size_t n = size_t((length + 0.6) * kRate);
    const size_t s0 = size_t(start * kRate);
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        double env = (1 - std::exp(-t / 0.01)) * std::exp(-t / 0.9) * (t < length ? 1.0 : std::exp(-(t - length) / 0.08));
        out.add(s0 + i, amp * env * (std::sin(kTau * f * t) + 0.3 * std::sin(kTau * 2 * f * t)), 0.0);
    }
}

std::vector<int16_t> toPcm(const std::vector<double>& mono, double peakTarget) {
    double peak = 1e-9;
    for (double v : mono) peak = std::max(peak, std::fabs(v));
    std::vector<int16_t> out(mono.size());
    for (size_t i = 0; i < mono.size(); ++i) out[i] = int16_t(std::lround(mono[i] / peak * peakTarget * 32767));
    return out;
}

std::vector<int16_t> tune() {
    const double beat = 0.6;  // 100 beats a minute
    const double bar = 4 * beat;
    const int bars = 16;  // 38.4 seconds
    Loop loop(size_t(bars * bar * kRate));
    // Chords by root (MIDI) and quality, one a bar.
    struct Chord {
        int root;
        bool minor;
    };
    const Chord prog[bars] = {{60, false}, {57, true}, {65, false}, {67, false}, {60, false}, {64, true},
                              {65, false}, {67, false}, {57, true},  {65, false}, {60, false}, {67, false},
                              {65, false}, {67, false}, {60, false}, {67, false}};
    // The melody: (bar, beat, MIDI note, beats long), in C major pentatonic.
    struct Note {
        int bar;
        double beat;
        int midi;
        double len;
    };
    const Note melody[] = {
        {0, 0, 76, 1.5},  {0, 1.5, 79, 0.5}, {0, 2, 81, 1},   {0, 3, 79, 1},   {1, 0, 76, 2},   {1, 2, 72, 1},
        {1, 3, 74, 1},    {2, 0, 76, 1},     {2, 1, 77, 1},   {2, 2, 81, 1.5}, {2, 3.5, 79, .5}, {3, 0, 79, 2},
        {3, 2, 74, 2},    {4, 0, 84, 1.5},   {4, 1.5, 83, .5}, {4, 2, 79, 1},  {4, 3, 76, 1},   {5, 0, 79, 2},
        {5, 2, 76, 1},    {5, 3, 71, 1},     {6, 0, 72, 1},   {6, 1, 76, 1},   {6, 2, 81, 2},   {7, 0, 79, 3},
        {8, 0, 81, 1},    {8, 1, 84, 1},     {8, 2, 81, 1},   {8, 3, 76, 1},   {9, 0, 77, 2},   {9, 2, 81, 2},
        {10, 0, 79, 1.5}, {10, 1.5, 76, .5}, {10, 2, 72, 2},  {11, 0, 74, 1},  {11, 1, 79, 1},  {11, 2, 83, 2},
        {12, 0, 81, 1},   {12, 1, 77, 1},    {12, 2, 72, 2},  {13, 0, 74, 1},  {13, 1, 79, 1},  {13, 2, 86, 2},
        {14, 0, 84, 2},   {14, 2, 79, 1},    {14, 3, 76, 1},  {15, 0, 74, 2},  {15, 2, 79, 2},
    };
    for (int b = 0; b < bars; ++b) {
        const Chord c = prog[b];
        const int third = c.root + (c.minor ? 3 : 4), fifth = c.root + 7;
        const double t0 = b * bar;
        pad(loop, t0, bar - 0.15, c.root - 12 + 12, 0.030);
        pad(loop, t0, bar - 0.15, third, 0.024);
        pad(loop, t0, bar - 0.15, fifth, 0.024);
        bass(loop, t0, beat * 1.8, c.root - 24, 0.16);
        bass(loop, t0 + 2 * beat, beat * 1.8, c.root - 24 + (b % 2 ? 7 : 0), 0.13);
        // Arpeggio in eighths, swaying between the speakers.
        const int arp[8] = {c.root + 12, third + 12, fifth + 12, c.root + 24, fifth + 12, third + 12, c.root + 12, fifth};
        for (int k = 0; k < 8; ++k)
            mallet(loop, t0 + k * beat / 2, arp[k], k % 2 ? 0.035 : 0.045, 0.32, k % 2 ? 0.45 : -0.45);
    }
    for (const Note& n : melody) mallet(loop, n.bar * bar + n.beat * beat, n.midi, 0.11, 0.35 + 0.25 * n.len, 0.1);

    // No DC, peak at -4 dBFS.
    double mean = 0;
    for (size_t i = 0; i < loop.size(); ++i) mean += loop.l[i] + loop.r[i];
    mean /= 2.0 * loop.size();
    double peak = 1e-9;
    for (size_t i = 0; i < loop.size(); ++i) peak = std::max({peak, std::fabs(loop.l[i] - mean), std::fabs(loop.r[i] - mean)});
    const double gain = std::pow(10.0, -4.0 / 20.0) / peak * 32767;
    std::vector<int16_t> pcm(loop.size() * 2);
    for (size_t i = 0; i < loop.size(); ++i) {
        pcm[2 * i] = int16_t(std::lround((loop.l[i] - mean) * gain));
        pcm[2 * i + 1] = int16_t(std::lround((loop.r[i] - mean) * gain));
    }
    return pcm;
}

std::vector<int16_t> buttonClick() {
    const size_t n = size_t(0.07 * kRate);
    std::vector<double> s(n);
    Rng rng(7);
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        double v = 0.6 * std::exp(-t / 0.006) * std::sin(kTau * 2200 * t) + 0.8 * std::exp(-t / 0.018) * std::sin(kTau * 880 * t) +
                   0.3 * std::exp(-t / 0.002) * rng.range(-1, 1);
        double fade = std::min(1.0, (double(n - i)) / (0.01 * kRate));
        s[i] = v * fade * std::min(1.0, t / 0.0005);
    }
    return toPcm(s, 0.5);
}

std::vector<int16_t> tileSlide() {
    const size_t n = size_t(0.24 * kRate);
    std::vector<double> s(n);
    Rng rng(11);
    double lp = 0, lp2 = 0;
    for (size_t i = 0; i < n; ++i) {
        double t = double(i) / kRate;
        double env = std::sin(M_PI * std::min(1.0, t / 0.2));
        env *= env;
        double cut = 0.04 + 0.05 * (t / 0.24);
        lp += cut * (rng.range(-1, 1) - lp);
        lp2 += cut * (lp - lp2);
        double thump = t > 0.17 ? 0.5 * std::exp(-(t - 0.17) / 0.025) * std::sin(kTau * 150 * (t - 0.17)) : 0.0;
        double fade = std::min(1.0, (double(n - i)) / (0.01 * kRate));
        s[i] = (3.0 * lp2 * env + thump) * fade;
    }
    return toPcm(s, 0.45);
}

std::vector<int16_t> successChime() {
    const size_t n = size_t(1.6 * kRate);
    std::vector<double> s(n, 0.0);
    auto bell = [&](double start, int midi, double amp, double decay) {
        const double f = noteHz(midi);
        for (size_t i = size_t(start * kRate); i < n; ++i) {
            double t = double(i) / kRate - start;
            double env = (1 - std::exp(-t / 0.003)) * std::exp(-t / decay);
            s[i] += amp * env *
                    (std::sin(kTau * f * t) + 0.4 * std::exp(-t / 0.25) * std::sin(kTau * 2.0 * f * t) +
                     0.15 * std::exp(-t / 0.08) * std::sin(kTau * 3.01 * f * t));
        }
    };
    const int up[4] = {72, 76, 79, 84};
    for (int k = 0; k < 4; ++k) bell(0.09 * k, up[k], 0.5, 0.35);
    for (int m : {79, 84, 88}) bell(0.42, m, 0.33, 0.45);
    bell(0.42, 91, 0.18, 0.3);
    for (size_t i = 0; i < n; ++i) s[i] *= std::min(1.0, double(n - i) / (0.15 * kRate));
    return toPcm(s, 0.6);
}

}  // namespace

bool writeAudio(const std::string& out) {
    const std::string dir = out + "/Audio/";
    bool ok = true;
    ok &= writeWav(dir + "BkGnd.mus", tune(), 2, kRate);
    ok &= writeWav(dir + "Button.aud", buttonClick(), 1, kRate);
    ok &= writeWav(dir + "Tile.aud", tileSlide(), 1, kRate);
    ok &= writeWav(dir + "Success.aud", successChime(), 1, kRate);
    return ok;
}

}  // namespace assetgen
