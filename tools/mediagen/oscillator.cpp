#include "tools/mediagen/oscillator.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

namespace mediagen {

namespace {

constexpr double kPi = std::numbers::pi;

// Harmonics may reach up to this share of the sample rate: a little under Nyquist, so the top
// one keeps clear of the fold even while vibrato lifts it.
constexpr double kHarmonicLimit = 0.45;

const std::vector<double>& SineTable() {
  static const std::vector<double> table = [] {
    std::vector<double> t(WaveTable::kSize);
    for (int i = 0; i < WaveTable::kSize; ++i)
      t[i] = std::sin(2 * kPi * i / WaveTable::kSize);
    return t;
  }();
  return table;
}

// The strength of harmonic h, signed where the wave's own sine series has a sign.
double Harmonic(Wave wave, double duty, int h) {
  switch (wave) {
    case Wave::kSquare:  // a pulse of +1 for `duty` of the period and -1 for the rest
      return 4.0 / (kPi * h) * std::abs(std::sin(kPi * h * duty));
    case Wave::kSaw:
      return 2.0 / (kPi * h);
    case Wave::kTriangle:
      if (h % 2 == 0) return 0.0;
      return (h % 4 == 1 ? 8.0 : -8.0) / (kPi * kPi * h * h);
    case Wave::kSine:
      return h == 1 ? 1.0 : 0.0;
    default:
      return 0.0;
  }
}

// Table sizes grow in steps of an eighth of an octave above 16 harmonics, so a whole tune
// needs a few dozen tables rather than one per pitch.
int RoundDownToLadder(int harmonics) {
  if (harmonics <= 16) return harmonics;
  int top = std::bit_width(static_cast<unsigned>(harmonics)) - 4;
  return (harmonics >> top) << top;
}

}  // namespace

WaveTable::WaveTable(Wave wave, double duty, int harmonics) : samples_(kSize + 1, 0.0) {
  const std::vector<double>& sine = SineTable();
  for (int h = 1; h <= harmonics; ++h) {
    double a = Harmonic(wave, duty, h);
    if (a == 0) continue;
    for (int i = 0; i < kSize; ++i)
      samples_[i] += a * sine[(static_cast<long>(h) * i) & (kSize - 1)];
  }
  samples_[kSize] = samples_[0];
}

int WaveTables::HarmonicsFor(double highestHz) const {
  double limit = kHarmonicLimit * rate_;
  int n = highestHz > 0 ? static_cast<int>(limit / highestHz) : 1;
  return std::clamp(RoundDownToLadder(n), 1, WaveTable::kSize / 4);
}

const WaveTable& WaveTables::For(Wave wave, double duty, double highestHz) {
  int harmonics = HarmonicsFor(highestHz);
  if (wave == Wave::kSine) harmonics = 1;
  if (wave != Wave::kSquare) duty = 0.5;
  std::lock_guard<std::mutex> lock(mutex_);
  auto key = std::make_tuple(static_cast<int>(wave), duty, harmonics);
  auto& slot = tables_[key];
  if (!slot) slot = std::make_unique<WaveTable>(wave, duty, harmonics);
  return *slot;
}

}  // namespace mediagen
