// Seeded randomness for the painters: the same seed gives the same picture on every
// machine (no std:: distributions, whose results differ between libraries).
#pragma once

#include <cstdint>

namespace mediagen {

class SeededRandom {
 public:
  explicit SeededRandom(uint64_t seed)
      : state_(seed * 0x9E3779B97F4A7C15ull + 0x632BE59BD9B4E019ull) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Unit() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }

 private:
  uint64_t state_;
};

// Smooth value noise in 0..1, `cell` pixels per lattice step.
double ValueNoise(double x, double y, double cell, uint32_t seed);
// A few octaves of value noise, still 0..1.
double FractalNoise(double x, double y, double cell, uint32_t seed, int octaves);

}  // namespace mediagen
