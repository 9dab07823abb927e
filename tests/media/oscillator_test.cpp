// The synthesizer's oscillators are band-limited: a high note keeps its harmonics below the
// Nyquist frequency instead of folding them back as tones that do not belong to it, while a low
// note keeps the full harmonic series of its wave.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

#include "tools/mediagen/synth.h"

namespace mediagen {
namespace {

// One steady note of a single voice, as the generator renders it.
std::vector<float> RenderNote(Wave wave, double duty, double hz, int rate) {
  Score score;
  score.tempo = 60;  // a step is a quarter of a second
  score.volume = 0.8;
  Voice v;
  v.wave = wave;
  v.duty = duty;
  v.attack = 0.005;
  v.decay = 0;
  v.sustain = 1;
  v.release = 0.05;
  score.voices.push_back(v);
  Note n;
  n.steps = 4;
  n.freqStart = n.freqEnd = hz;
  score.notes.push_back(n);
  score.totalSteps = 4;
  return RenderScore(score, rate, 1).samples;
}

// Magnitude spectrum of a stretch of samples under a four-term Blackman-Harris window, whose
// skirt falls below -90 dB within a few bins, so what lies between the harmonics is the wave's
// own and not the window's leakage.
std::vector<double> Spectrum(const std::vector<float>& x, size_t from, size_t size) {
  std::vector<double> cosines(size), sines(size);
  for (size_t i = 0; i < size; ++i) {
    cosines[i] = std::cos(2 * std::numbers::pi * i / size);
    sines[i] = std::sin(2 * std::numbers::pi * i / size);
  }
  std::vector<double> windowed(size);
  for (size_t i = 0; i < size; ++i) {
    double t = 2 * std::numbers::pi * i / (size - 1);
    windowed[i] = x[from + i] * (0.35875 - 0.48829 * std::cos(t) + 0.14128 * std::cos(2 * t) -
                                 0.01168 * std::cos(3 * t));
  }
  std::vector<double> magnitude(size / 2);
  for (size_t k = 0; k < size / 2; ++k) {
    double re = 0, im = 0;
    for (size_t i = 0; i < size; ++i) {
      size_t at = (k * i) % size;
      re += windowed[i] * cosines[at];
      im -= windowed[i] * sines[at];
    }
    magnitude[k] = std::hypot(re, im);
  }
  return magnitude;
}

struct Tone {
  double fundamental = 0;  // magnitude at the note's own frequency
  double strayDb = 0;      // strongest component that is no harmonic of it, dB under it
  double thirdDb = 0;      // the third harmonic, dB under the fundamental
};

Tone Analyse(const std::vector<float>& samples, double hz, int rate) {
  constexpr size_t kSize = 4096;
  const size_t from = static_cast<size_t>(0.1 * rate);  // past the attack
  std::vector<double> m = Spectrum(samples, from, kSize);
  const double bin = double(rate) / kSize;
  auto peakNear = [&](double f) {
    double best = 0;
    for (size_t k = 0; k < m.size(); ++k)
      if (std::abs(k * bin - f) <= 3 * bin) best = std::max(best, m[k]);
    return best;
  };
  Tone t;
  t.fundamental = peakNear(hz);
  double stray = 1e-12;
  for (size_t k = 4; k < m.size(); ++k) {
    double f = k * bin;
    double nearest = std::round(f / hz) * hz;
    if (nearest >= hz && std::abs(f - nearest) <= 5 * bin) continue;  // a harmonic's own skirt
    stray = std::max(stray, m[k]);
  }
  t.strayDb = 20 * std::log10(t.fundamental / stray);
  t.thirdDb = 3 * hz < rate / 2.0 ? 20 * std::log10(t.fundamental / peakNear(3 * hz)) : 0;
  return t;
}

TEST(Oscillators, HighNotesDoNotFoldBackBelowTheirFundamental) {
  struct Case {
    Wave wave;
    double duty;
    double hz;
    int rate;
    const char* what;
  };
  // c8 is the top note of the effects (22050 Hz), f7 the top of the tunes (44100 Hz).
  const Case cases[] = {
      {Wave::kSquare, 0.25, 4186.0, 22050, "pulse 1/4, c8, effects"},
      {Wave::kSquare, 0.125, 4186.0, 22050, "pulse 1/8, c8, effects"},
      {Wave::kSquare, 0.5, 4186.0, 22050, "square, c8, effects"},
      {Wave::kSaw, 0.5, 4186.0, 22050, "saw, c8, effects"},
      {Wave::kTriangle, 0.5, 4186.0, 22050, "triangle, c8, effects"},
      {Wave::kSquare, 0.125, 2793.8, 44100, "pulse 1/8, f7, music"},
      {Wave::kSaw, 0.5, 2793.8, 44100, "saw, f7, music"},
  };
  for (const Case& c : cases) {
    Tone t = Analyse(RenderNote(c.wave, c.duty, c.hz, c.rate), c.hz, c.rate);
    std::printf("%-26s strongest stray component %5.1f dB under the fundamental\n", c.what,
                t.strayDb);
    EXPECT_GE(t.strayDb, 40.0) << c.what;
  }
}

TEST(Oscillators, LowNotesKeepTheirWavesHarmonics) {
  // A square's third harmonic is a third of its fundamental (9.5 dB down), a saw's too; a
  // triangle's a ninth (19.1 dB).
  struct Case {
    Wave wave;
    double thirdDb;
  };
  for (Case c : {Case{Wave::kSquare, 9.54}, Case{Wave::kSaw, 9.54}, Case{Wave::kTriangle, 19.08}}) {
    Tone t = Analyse(RenderNote(c.wave, 0.5, 220.0, 22050), 220.0, 22050);
    EXPECT_NEAR(t.thirdDb, c.thirdDb, 1.0) << static_cast<int>(c.wave);
    EXPECT_GE(t.strayDb, 40.0) << static_cast<int>(c.wave);
  }
}

}  // namespace
}  // namespace mediagen
