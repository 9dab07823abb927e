// RIFF/WAVE parsing for sound effects: the format block and the sample data of a file held in
// memory. Decoding follows the loader's own rules: "fmt " is searched first, then "data";
// chunks are skipped by exactly their stated size.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zrb::audio {

struct WaveFormat {
  uint16_t fileChannels = 0;  // as the file states
  uint16_t channels = 0;      // as handed on: 2 when the file has more than one, else 1
  uint32_t sampleRate = 0;
  uint16_t blockAlign = 0;  // the file's, also for the handed-on format
  uint16_t bitsPerSample = 0;

  uint64_t AverageBytesPerSecond() const { return uint64_t{sampleRate} * blockAlign; }
};

struct WaveSound {
  WaveFormat format;
  // The sample bytes, pointing into the parsed buffer. A data chunk whose stated size runs
  // past the end of the file is cut to the bytes that are there.
  std::span<const uint8_t> data;
  uint32_t statedDataSize = 0;
};

// Nothing when the bytes are not a WAVE file with both a format block and a data chunk;
// `whyNot` (if given) then says what was wrong.
std::optional<WaveSound> ParseWave(std::span<const uint8_t> file, std::string* whyNot = nullptr);

}  // namespace zrb::audio
