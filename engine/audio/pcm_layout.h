// What of a WAVE's samples the output can take: 8- or 16-bit PCM in whole frames, one or two
// channels handed on. A file with more channels keeps its block align as the frame stride, and
// the first two samples of each frame are the ones that sound.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/audio/wave_file.h"

namespace zrb::audio {

struct PcmLayout {
  uint16_t channels = 0;        // handed on: 1 or 2
  uint16_t bytesPerSample = 0;  // 1 (unsigned 8-bit) or 2 (signed 16-bit little-endian)
  uint16_t frameStride = 0;     // the file's block align
  uint32_t sampleRate = 0;
  uint64_t frameCount = 0;

  double DurationMs() const { return static_cast<double>(frameCount) * 1000.0 / sampleRate; }
};

inline constexpr uint32_t kMinSampleRate = 100;
inline constexpr uint32_t kMaxSampleRate = 200000;
inline constexpr uint16_t kMaxWaveChannels = 32;
// A sound effect is converted whole to the device's format and rate: a long one at a low rate
// (a small file: 600 KB at 100 Hz) would take gigabytes. LoadSound refuses effects longer than
// this; music plays from its file instead and has no such bound.
inline constexpr uint32_t kMaxSoundSeconds = 60;

// Nothing when the output cannot take the sound: no whole frame of data, a sample size other
// than 8 or 16 bits, no or too many channels, a rate outside 100..200000 Hz, or a block align
// that is not the file's channels times its sample size.
std::optional<PcmLayout> DescribePcm(const WaveSound& sound, std::string* whyNot = nullptr);

// The whole frames of `sound`, `layout.channels` samples each, packed without gaps.
std::vector<uint8_t> PackFrames(const WaveSound& sound, const PcmLayout& layout);

}  // namespace zrb::audio
