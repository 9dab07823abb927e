// Effect volume and pan, the way the game states them (volume 0..1, pan -1 left .. 1 right),
// turned into attenuations in hundredths of a decibel and from there into linear gains.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zrb::audio {

inline constexpr int32_t kSilentHundredthsDb = -10000;

struct PlayLevels {
  int32_t volumeHundredthsDb = 0;  // -10000 (silent) .. 0 (full)
  int32_t panHundredthsDb = 0;     // -10000 (left only) .. 10000 (right only)
};

// Volume: × 100, at most 100, truncated, at least 0, then minus 10000 after × 100.
// Pan: clamped to -1..1, × 10000, truncated. Not-a-number counts as 0 for both.
PlayLevels LevelsFor(double pan, double volume);

// 10^(hundredths / 2000); -10000 and below is silence (0).
double GainFromHundredthsDb(int32_t hundredthsDb);

struct ChannelGains {
  float left = 1.0f;
  float right = 1.0f;

  bool IsUnity() const { return left == 1.0f && right == 1.0f; }
};

// The pan attenuates one side only: positive pan the left, negative pan the right.
ChannelGains GainsFor(const PlayLevels& levels);

// Scales interleaved signed 16-bit stereo frames in place.
void ApplyGains(int16_t* frames, size_t frameCount, const ChannelGains& gains);

}  // namespace zrb::audio
