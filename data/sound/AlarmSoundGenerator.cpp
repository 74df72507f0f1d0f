// Writes the looping alarm sound: a two-tone (hi-lo) signal of 1200 Hz and
// 800 Hz, a quarter second each, twice, as one second of 16-bit mono PCM at
// 44100 Hz. Every segment holds a whole number of cycles and starts and ends
// at a zero crossing, so the file loops without a click.
//
// Usage: norq-alarm-sound OUTPUT.wav
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <numbers>
#include <string>
#include <vector>

#include "base/Files.h"

namespace {

constexpr int kRate = 44100;
constexpr int kSegmentSamples = kRate / 4;
constexpr double kHigh = 1200.0;
constexpr double kLow = 800.0;
constexpr double kAmplitude = 0.45 * 32767.0;

void PutLe(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::vector<std::int16_t> Samples() {
    std::vector<std::int16_t> samples;
    for (int segment = 0; segment < 4; ++segment) {
        const double hz = segment % 2 == 0 ? kHigh : kLow;
        for (int i = 0; i < kSegmentSamples; ++i) {
            const double v = std::sin(2.0 * std::numbers::pi * hz * i / kRate);
            samples.push_back(static_cast<std::int16_t>(std::lround(kAmplitude * v)));
        }
    }
    return samples;
}

std::string WaveFile(const std::vector<std::int16_t>& samples) {
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
    std::string out = "RIFF";
    PutLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLe(out, 16, 4);
    PutLe(out, 1, 2);  // PCM
    PutLe(out, 1, 2);  // mono
    PutLe(out, kRate, 4);
    PutLe(out, kRate * 2, 4);
    PutLe(out, 2, 2);
    PutLe(out, 16, 2);
    out += "data";
    PutLe(out, dataBytes, 4);
    for (std::int16_t s : samples)
        PutLe(out, static_cast<std::uint16_t>(s), 2);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: norq-alarm-sound OUTPUT.wav\n");
        return 2;
    }
    if (!norq::base::WriteFileAtomically(argv[1], WaveFile(Samples()))) {
        std::fprintf(stderr, "norq-alarm-sound: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
