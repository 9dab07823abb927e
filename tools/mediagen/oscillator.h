// Band-limited oscillators: one period of each wave built from its harmonics, only those that
// stay below the output's Nyquist frequency, so high notes do not fold back as false tones.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

#include "tools/mediagen/score.h"

namespace mediagen {

// One period of a wave with a fixed number of harmonics. Every harmonic is laid in sine phase:
// the wave has no DC and its positive and negative peaks are equal, and the ear hears the same
// timbre as the usual pulse, saw or triangle shape with those harmonic strengths.
class WaveTable {
 public:
  static constexpr int kSize = 4096;

  WaveTable(Wave wave, double duty, int harmonics);

  // The wave at phase 0..1, interpolated between table points.
  double At(double phase) const {
    double x = phase * kSize;
    int i = static_cast<int>(x);
    double frac = x - i;
    i &= kSize - 1;
    return samples_[i] + frac * (samples_[i + 1] - samples_[i]);
  }

 private:
  std::vector<double> samples_;  // kSize + 1 points: the last repeats the first
};

// The tables a render needs, made on first use and shared by the threads that render.
class WaveTables {
 public:
  explicit WaveTables(int rate) : rate_(rate) {}

  // A table for notes that reach up to `highestHz`: as many harmonics as fit under the limit.
  const WaveTable& For(Wave wave, double duty, double highestHz);

  // How many harmonics of a note at `highestHz` fit below the limit at this rate (at least 1).
  int HarmonicsFor(double highestHz) const;

 private:
  int rate_;
  std::mutex mutex_;
  std::map<std::tuple<int, double, int>, std::unique_ptr<WaveTable>> tables_;
};

}  // namespace mediagen
