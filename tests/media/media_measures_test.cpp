// Measures the built media the way a player meets it and prints the figures: sound levels
// (DC offset, peaks, loudness of every effect against the in-game music), how far every wall
// tile stands from the floor in brightness, what the scanline overlay adds to black, and
// how much the frames of each animation differ.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/mediagen/audio_files.h"
#include "tools/mediagen/catalogue.h"
#include "tools/mediagen/png_io.h"
#include "tools/mediagen/source_text.h"

namespace mediagen {
namespace {

namespace fs = std::filesystem;

const fs::path kSources = TUNDREL_MEDIA_SOURCES;
const fs::path kBuilt = TUNDREL_MEDIA_BUILT;

// The tunes that play under the action, when the effects must be heard over them.
const std::vector<std::string> kInGameMusic = {"_InGame2.mp3", "_InGame3.mp3",
                                               "_ingamebonuslevel.mp3"};

struct Levels {
  double dc = 0, lowest = 0, highest = 0, rmsDb = 0;
};

Levels Measure(const std::vector<float>& samples) {
  Levels l;
  double sum = 0, squares = 0;
  for (float s : samples) {
    sum += s;
    squares += double(s) * s;
    l.lowest = std::min<double>(l.lowest, s);
    l.highest = std::max<double>(l.highest, s);
  }
  double n = std::max<double>(1, samples.size());
  l.dc = sum / n;
  l.rmsDb = 10 * std::log10(squares / n + 1e-20);
  return l;
}

// Samples of one of our 16-bit PCM WAVE files, -1..1.
std::vector<float> ReadWavSamples(const fs::path& path) {
  std::vector<uint8_t> bytes = ReadFileBytes(path);
  WavInfo info = InspectWav(bytes);
  EXPECT_EQ(info.error, "") << path;
  EXPECT_EQ(info.bits, 16) << path;
  const uint8_t* data = bytes.data() + bytes.size() - info.dataBytes;
  std::vector<float> out(info.dataBytes / 2);
  for (size_t i = 0; i < out.size(); ++i) {
    int16_t v;
    std::memcpy(&v, data + 2 * i, 2);
    out[i] = v / 32768.0f;
  }
  return out;
}

// An MP3 decoded by the same mixer the game plays it through, as float samples.
std::vector<float> DecodeMusic(const fs::path& path) {
  Mix_Chunk* chunk = Mix_LoadWAV(path.string().c_str());
  EXPECT_NE(chunk, nullptr) << path << ": " << Mix_GetError();
  if (!chunk) return {};
  std::vector<float> out(chunk->alen / sizeof(float));
  std::memcpy(out.data(), chunk->abuf, out.size() * sizeof(float));
  Mix_FreeChunk(chunk);
  return out;
}

TEST(MediaMeasures, SoundsAreCentredUnclippedAndEffectsRiseAboveTheMusic) {
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  ASSERT_EQ(SDL_Init(SDL_INIT_AUDIO), 0) << SDL_GetError();
  ASSERT_EQ(Mix_OpenAudio(kMusicRate, AUDIO_F32SYS, 2, 1024), 0) << Mix_GetError();
  int rate = 0, channels = 0;
  Uint16 format = 0;
  ASSERT_EQ(Mix_QuerySpec(&rate, &format, &channels), 1);
  ASSERT_EQ(format, AUDIO_F32SYS);

  double quietestEffect = 0, loudestMusic = -200;
  std::string quietestName, loudestName;
  std::printf("%-24s %9s %8s %8s %8s\n", "file", "DC", "min", "max", "RMS dB");
  for (const CatalogueEntry& e : ParseCatalogue(SourceText::Load(kSources / "catalogue.txt"))) {
    if (e.kind != EntryKind::kSound && e.kind != EntryKind::kMusic) continue;
    SCOPED_TRACE(e.name);
    bool effect = e.kind == EntryKind::kSound;
    std::vector<float> samples =
        effect ? ReadWavSamples(kBuilt / e.name) : DecodeMusic(kBuilt / e.name);
    ASSERT_FALSE(samples.empty());
    Levels l = Measure(samples);
    std::printf("%-24s %9.5f %8.3f %8.3f %8.2f\n", e.name.c_str(), l.dc, l.lowest, l.highest,
                l.rmsDb);
    // An offset pushes the speaker cone off centre and thumps when a sound starts or stops.
    EXPECT_LE(std::abs(l.dc), 0.005);
    // Nothing reaches full scale, and the two half-waves swing about as far.
    EXPECT_LT(std::max(-l.lowest, l.highest), 0.99);
    EXPECT_GE(std::min(-l.lowest, l.highest) / std::max(-l.lowest, l.highest), 0.85);
    if (effect && l.rmsDb < quietestEffect) {
      quietestEffect = l.rmsDb;
      quietestName = e.name;
    }
    bool inGame = std::find(kInGameMusic.begin(), kInGameMusic.end(), e.name) != kInGameMusic.end();
    if (inGame && l.rmsDb > loudestMusic) {
      loudestMusic = l.rmsDb;
      loudestName = e.name;
    }
  }
  std::printf("quietest effect %s %.2f dB, loudest in-game music %s %.2f dB: %.2f dB apart\n",
              quietestName.c_str(), quietestEffect, loudestName.c_str(), loudestMusic,
              quietestEffect - loudestMusic);
  EXPECT_GE(quietestEffect - loudestMusic, 4.0) << "an effect would drown in the music";
  Mix_CloseAudio();
  SDL_Quit();
}

double Luminance(Rgba p) {
  return 0.299 * p.r + 0.587 * p.g + 0.114 * p.b;
}

Image Frame(const Image& strip, int fw, int fh, int n) {
  int perRow = strip.width() / fw;
  return strip.Crop((n % perRow) * fw, (n / perRow) * fh, fw, fh);
}

double MeanLuminance(const Image& img) {
  double sum = 0;
  int count = 0;
  for (const Rgba& p : img.pixels())
    if (p.a) {
      sum += Luminance(p);
      ++count;
    }
  return count ? sum / count : 0;
}

TEST(MediaMeasures, EveryWallStandsOutFromTheFloor) {
  Image tiles = ReadPng(kBuilt / "tiles.png");
  constexpr int kFloor = 13;
  double floor = MeanLuminance(Frame(tiles, 32, 32, kFloor));
  std::printf("floor (tile %d): mean luminance %.1f\n", kFloor, floor);
  // 0-6 are the walls of normal rounds, 7-11 those of bonus rounds; all lie on that floor.
  for (int wall = 0; wall <= 11; ++wall) {
    double lum = MeanLuminance(Frame(tiles, 32, 32, wall));
    std::printf("wall tile %2d: mean luminance %6.1f, %+6.1f from the floor\n", wall, lum,
                lum - floor);
    EXPECT_GE(std::abs(lum - floor), 30.0) << "wall tile " << wall;
  }
}

TEST(MediaMeasures, ScanlinesAddASoftGlowAndLeaveBlackNearlyBlack) {
  // The game adds the overlay at a fifth of its strength, weighted by its alpha.
  constexpr double kStrength = 0.2;
  Image lines = ReadPng(kBuilt / "scanlines.png");
  double most = 0, brightestRow = 0, darkestRow = 1e9, total = 0;
  for (int y = 0; y < lines.height(); ++y) {
    double row = 0;
    for (int x = 0; x < lines.width(); ++x) {
      Rgba p = lines.at(x, y);
      double a = p.a / 255.0 * kStrength;
      most = std::max({most, p.r * a, p.g * a, p.b * a});
      row += Luminance(p) * a;
    }
    row /= lines.width();
    total += row;
    brightestRow = std::max(brightestRow, row);
    darkestRow = std::min(darkestRow, row);
  }
  double mean = total / lines.height();
  std::printf("scanlines lift black by %.1f levels at most, %.1f on average; rows %.1f to %.1f\n",
              most, mean, darkestRow, brightestRow);
  EXPECT_LE(most, 16.0);                      // black stays near black
  EXPECT_LE(mean, 6.0);                       // no grey veil over the picture
  EXPECT_GE(brightestRow - darkestRow, 4.0);  // but the lines are there to see
}

// Share of the pixels drawn in either frame that only one of them draws: how far the shape
// itself moves. A change of colour alone does not count; the eye reads motion from outlines.
double ShapeChange(const Image& a, const Image& b) {
  int differ = 0, drawn = 0;
  for (size_t i = 0; i < a.pixels().size(); ++i) {
    bool p = a.pixels()[i].a != 0, q = b.pixels()[i].a != 0;
    drawn += p || q;
    differ += p != q;
  }
  return drawn ? double(differ) / drawn : 0;
}

TEST(MediaMeasures, AnimationFramesMoveVisibly) {
  struct Run {
    const char* strip;
    std::vector<int> frames;  // shown one after the other
    const char* what;
  };
  // A frame whose outline barely differs from the last reads as standing still.
  constexpr double kLeast = 0.18;
  const Run runs[] = {
      {"player.png", {2, 3}, "tibbo walking right"},
      {"player.png", {6, 7}, "tibbo walking up"},
      {"player.png", {8, 9}, "tibbo walking down"},
      {"player.png", {12, 13}, "nella walking"},
      {"enemies.png", {0, 1}, "spider"},
      {"enemies.png", {2, 3, 4, 5}, "flame"},
      {"enemies.png", {6, 7}, "bird"},
      {"enemies.png", {10, 11}, "calm bird"},
      {"items.png", {4, 5}, "turning hearts"},
      {"webs.png", {0, 1, 2, 3}, "trembling web"},
  };
  for (const Run& run : runs) {
    Image strip = ReadPng(kBuilt / run.strip);
    // Each step of the cycle, the return to the first frame included (a pair is one step).
    size_t steps = run.frames.size() == 2 ? 1 : run.frames.size();
    for (size_t k = 0; k < steps; ++k) {
      int a = run.frames[k], b = run.frames[(k + 1) % run.frames.size()];
      double share = ShapeChange(Frame(strip, 32, 32, a), Frame(strip, 32, 32, b));
      std::printf("%-20s frames %2d -> %2d: the outline changes at %4.1f %% of the pixels\n",
                  run.what, a, b, 100 * share);
      EXPECT_GE(share, kLeast) << run.what << " " << a << " -> " << b;
    }
  }
}

}  // namespace
}  // namespace mediagen
