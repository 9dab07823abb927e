// Finished audio to bytes: RIFF WAVE (16-bit PCM) and MP3 through LAME with fixed settings,
// so the same samples always give the same file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/mediagen/synth.h"

namespace mediagen {

constexpr int kEffectRate = 22050;  // sound effects: mono WAVE at the mixer's own rate
constexpr int kMusicRate = 44100;   // music: joint-stereo MP3
constexpr int kMusicBitrate = 80;   // kbit/s, constant

std::vector<uint8_t> EncodeWav(const AudioBuffer& audio);
std::vector<uint8_t> EncodeMp3(const AudioBuffer& audio);

// What a RIFF WAVE header says; `error` is empty when the header is sound.
struct WavInfo {
  int channels = 0, rate = 0, bits = 0, blockAlign = 0;
  uint32_t dataBytes = 0;
  std::string error;
};
WavInfo InspectWav(const std::vector<uint8_t>& bytes);

}  // namespace mediagen
