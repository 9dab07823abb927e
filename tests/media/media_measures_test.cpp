// Measures the built media the way a player meets it and prints the figures: sound levels
// (DC offset, peaks, loudness of every effect against the in-game music), how far the
// synthesizer's high notes stay from folding back, and how far every wall tile stands from the
// floor in brightness.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <numbers>
#include <span>
#include <string>
#include <vector>

#include "tools/mediagen/audio_files.h"
#include "tools/mediagen/catalogue.h"
#include "tools/mediagen/png_io.h"
#include "tools/mediagen/score.h"
#include "tools/mediagen/source_text.h"
#include "tools/mediagen/synth.h"

namespace mediagen {
namespace {

namespace fs = std::filesystem;

const fs::path kBuilt = TUNDREL_MEDIA_BUILT;

TEST(MediaMeasures, SoundsAreCentredUnclippedAndEffectsRiseAboveTheMusic) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  ASSERT_EQ(Mix_OpenAudio(kEffectRate, AUDIO_F32SYS, 2, 1024), 0) << Mix_GetError();
  // The tunes that play under the action, when the effects must be heard over them.
  const std::vector<std::string> inGameMusic = {"_InGame2.mp3", "_InGame3.mp3",
                                                "_ingamebonuslevel.mp3"};
  double quietestEffect = 0, loudestMusic = -200;
  std::printf("%-24s %9s %8s %8s %8s\n", "file", "DC", "min", "max", "RMS dB");
  for (const CatalogueEntry& e :
       ParseCatalogue(SourceText::Load(fs::path(TUNDREL_MEDIA_SOURCES) / "catalogue.txt"))) {
    if (e.kind != EntryKind::kSound && e.kind != EntryKind::kMusic) continue;
    SCOPED_TRACE(e.name);
    // Decoded by the same mixer the game plays it through, at the game's rate.
    Mix_Chunk* chunk = Mix_LoadWAV((kBuilt / e.name).c_str());
    ASSERT_NE(chunk, nullptr) << Mix_GetError();
    const std::span<const float> samples(reinterpret_cast<float*>(chunk->abuf),
                                         chunk->alen / sizeof(float));
    double sum = 0, squares = 0, lowest = 0, highest = 0;
    for (float s : samples) {
      sum += s;
      squares += double(s) * s;
      lowest = std::min<double>(lowest, s);
      highest = std::max<double>(highest, s);
    }
    const double dc = sum / samples.size(), rmsDb = 10 * std::log10(squares / samples.size());
    Mix_FreeChunk(chunk);
    std::printf("%-24s %9.5f %8.3f %8.3f %8.2f\n", e.name.c_str(), dc, lowest, highest, rmsDb);
    // An offset pushes the speaker cone off centre and thumps when a sound starts or stops.
    EXPECT_LE(std::abs(dc), 0.005);
    // Nothing reaches full scale, and the two half-waves swing about as far.
    EXPECT_LT(std::max(-lowest, highest), 0.99);
    EXPECT_GE(std::min(-lowest, highest) / std::max(-lowest, highest), 0.85);
    if (e.kind == EntryKind::kSound) quietestEffect = std::min(quietestEffect, rmsDb);
    if (std::count(inGameMusic.begin(), inGameMusic.end(), e.name))
      loudestMusic = std::max(loudestMusic, rmsDb);
  }
  std::printf("quietest effect %.2f dB, loudest in-game music %.2f dB: %.2f dB apart\n",
              quietestEffect, loudestMusic, quietestEffect - loudestMusic);
  EXPECT_GE(quietestEffect - loudestMusic, 4.0) << "an effect would drown in the music";
  Mix_CloseAudio();
  SDL_Quit();
}

// One steady second of a single voice's note (`voice` as a score writes it), as the generator
// renders it, and its magnitude spectrum a tenth of a second in (past the attack) under a
// four-term Blackman-Harris window, whose skirt falls below -90 dB within a few bins: what lies
// between the harmonics is the wave's own.
std::vector<double> NoteSpectrum(const std::string& voice, const std::string& note, int rate) {
  const std::string score = "output note.wav\ntempo 60\nvolume 0.8\nvoice v " + voice +
                            " decay=0 sustain=1\npattern p\n  v " + note + " . . .\nplay p\n";
  const std::vector<float> x =
      RenderScore(ParseScore(SourceText::FromString("note.txt", score)), rate, 1).samples;
  constexpr size_t kSize = 4096;
  std::vector<std::complex<double>> turns(kSize);
  std::vector<double> windowed(kSize), magnitude(kSize / 2);
  for (size_t i = 0; i < kSize; ++i) {
    const double t = 2 * std::numbers::pi * i / kSize, w = 2 * std::numbers::pi * i / (kSize - 1);
    turns[i] = std::polar(1.0, -t);
    windowed[i] = x[rate / 10 + i] *
                  (0.35875 - 0.48829 * cos(w) + 0.14128 * cos(2 * w) - 0.01168 * cos(3 * w));
  }
  for (size_t k = 0; k < kSize / 2; ++k) {
    std::complex<double> sum;
    for (size_t i = 0; i < kSize; ++i)
      sum += windowed[i] * turns[(k * i) % kSize];
    magnitude[k] = std::abs(sum);
  }
  return magnitude;
}

// The band-limited oscillators: a high note keeps its harmonics below the Nyquist frequency
// instead of folding them back as tones that do not belong to it, while a low note keeps the
// harmonic series of its wave (a square's and a saw's third harmonic a third of the
// fundamental, 9.5 dB down, a triangle's a ninth, 19.1 dB).
TEST(MediaMeasures, HighNotesDoNotFoldBackAndLowNotesKeepTheirHarmonics) {
  const struct {
    const char* voice;
    const char* note;
    int rate;
    double thirdDb;  // 0: not measured
  } cases[] = {
      // c8 is the top note of the effects (22050 Hz), f7 the top of the tunes (44100 Hz).
      {"square duty=0.25", "c8", 22050, 0},
      {"square duty=0.125", "c8", 22050, 0},
      {"square", "c8", 22050, 0},
      {"saw", "c8", 22050, 0},
      {"triangle", "c8", 22050, 0},
      {"square duty=0.125", "f7", 44100, 0},
      {"saw", "f7", 44100, 0},
      {"square", "a3", 22050, 9.54},
      {"saw", "a3", 22050, 9.54},
      {"triangle", "a3", 22050, 19.08},
  };
  for (const auto& c : cases) {
    const std::vector<double> m = NoteSpectrum(c.voice, c.note, c.rate);
    const double hz = NoteFrequency(c.note), bin = c.rate / 4096.0;
    const auto peakNear = [&](double f) {
      double best = 0;
      for (size_t k = 0; k < m.size(); ++k)
        if (std::abs(k * bin - f) <= 3 * bin) best = std::max(best, m[k]);
      return best;
    };
    // The strongest component that is no harmonic of the note (nor in a harmonic's skirt).
    double stray = 1e-12;
    for (size_t k = 4; k < m.size(); ++k) {
      const double nearest = std::round(k * bin / hz) * hz;
      if (nearest < hz || std::abs(k * bin - nearest) > 5 * bin) stray = std::max(stray, m[k]);
    }
    const double strayDb = 20 * std::log10(peakNear(hz) / stray);
    std::printf("%-17s %s at %d Hz: strongest stray component %5.1f dB under the fundamental\n",
                c.voice, c.note, c.rate, strayDb);
    EXPECT_GE(strayDb, 40.0) << c.voice << " " << c.note;
    const double thirdDb = c.thirdDb ? 20 * std::log10(peakNear(hz) / peakNear(3 * hz)) : 0;
    EXPECT_NEAR(thirdDb, c.thirdDb, 1.0) << c.voice << " " << c.note;
  }
}

TEST(MediaMeasures, EveryWallStandsOutFromTheFloor) {
  const Image tiles = ReadPng(kBuilt / "tiles.png");
  // The mean luminance of the painted pixels of 32 x 32 tile `n`.
  const auto meanLuminance = [&](int n) {
    const Image tile =
        tiles.Crop(n % (tiles.width() / 32) * 32, n / (tiles.width() / 32) * 32, 32, 32);
    double sum = 0;
    int count = 0;
    for (const Rgba& p : tile.pixels()) {
      sum += p.a ? 0.299 * p.r + 0.587 * p.g + 0.114 * p.b : 0;
      count += p.a != 0;
    }
    return sum / count;
  };
  const double floor = meanLuminance(13);
  std::printf("floor (tile 13): mean luminance %.1f\n", floor);
  // 0-6 are the walls of normal rounds, 7-11 those of bonus rounds; all lie on that floor.
  for (int wall = 0; wall <= 11; ++wall) {
    const double lum = meanLuminance(wall);
    std::printf("wall tile %2d: mean luminance %6.1f, %+6.1f from the floor\n", wall, lum,
                lum - floor);
    EXPECT_GE(std::abs(lum - floor), 30.0) << "wall tile " << wall;
  }
}

}  // namespace
}  // namespace mediagen
