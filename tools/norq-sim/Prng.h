// The simulator's own seeded pseudo-random numbers: xoshiro256** seeded through
// splitmix64. The same seed always gives the same sequence on every platform,
// which is what makes a recording reproducible.
#pragma once

#include <cmath>
#include <cstdint>

namespace norq::sim {

class SplitMix64 {
  public:
    explicit constexpr SplitMix64(std::uint64_t seed) : state_(seed) {}
    constexpr std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

  private:
    std::uint64_t state_;
};

class Prng {
  public:
    // `stream` separates independent sequences drawn from one scenario seed,
    // so that changing how many numbers one part draws leaves the others alone.
    explicit Prng(std::uint64_t seed, std::uint64_t stream = 0) {
        SplitMix64 mix(seed ^ (stream * 0xD1B54A32D192ED03ULL));
        for (auto& word : s_)
            word = mix.next();
    }

    std::uint64_t next() {
        const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
        const std::uint64_t t = s_[1] << 17;
        s_[2] ^= s_[0];
        s_[3] ^= s_[1];
        s_[1] ^= s_[2];
        s_[0] ^= s_[3];
        s_[2] ^= t;
        s_[3] = rotl(s_[3], 45);
        return result;
    }

    // Uniform in [0, 1).
    double uniform() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // Uniform in [lo, hi).
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    // Uniform integer in [lo, hi] (both inclusive).
    std::int64_t integer(std::int64_t lo, std::int64_t hi) {
        if (hi <= lo) return lo;
        const auto span = static_cast<std::uint64_t>(hi - lo) + 1;
        return lo + static_cast<std::int64_t>(next() % span);
    }
    bool chance(double probability) { return uniform() < probability; }
    // Normal distribution by the Box-Muller transform (one value per call).
    double normal(double mean, double sigma) {
        double u1 = uniform();
        if (u1 < 1e-300) u1 = 1e-300;
        const double u2 = uniform();
        return mean + sigma * std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
    }

  private:
    static constexpr std::uint64_t rotl(std::uint64_t x, int k) {
        return (x << k) | (x >> (64 - k));
    }
    std::uint64_t s_[4];
};

}  // namespace norq::sim
