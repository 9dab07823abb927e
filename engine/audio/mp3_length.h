// The playing time of an MPEG audio file (layers I to III, MPEG 1, 2 and 2.5), read from its
// frame headers without decoding: how long a piece lasts when no decoder is at hand.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace zrb::audio {

struct Mp3Summary {
  uint32_t sampleRate = 0;
  uint64_t frameCount = 0;  // audio frames; an encoder's "Xing"/"Info"/"VBRI" frame not counted
  uint64_t sampleCount = 0;

  double DurationMs() const { return static_cast<double>(sampleCount) * 1000.0 / sampleRate; }
};

// Skips a leading ID3v2 tag, finds the first frame that is followed by another of the same
// kind (or ends the file), and walks whole frames until the chain breaks. Nothing when no
// audio frame is found.
std::optional<Mp3Summary> SummarizeMp3(std::span<const uint8_t> file);

}  // namespace zrb::audio
