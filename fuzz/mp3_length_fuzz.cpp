// The MPEG audio length reader, alone and as the music length of a file.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/audio/mp3_length.h"
#include "engine/audio/music_length.h"
#include "engine/audio/wave_file.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace zrb::audio;
  const std::span<const uint8_t> file(data, size);
  const auto summary = SummarizeMp3(file);
  if (summary) {
    FUZZ_CHECK(summary->frameCount > 0 && summary->sampleRate >= 8000);
    // Every frame holds at least 384 samples and takes at least a few dozen bytes.
    FUZZ_CHECK(summary->sampleCount >= summary->frameCount * 384);
    FUZZ_CHECK(summary->frameCount * 24 <= size);
    FUZZ_CHECK(std::isfinite(summary->DurationMs()) && summary->DurationMs() > 0);
  }
  const auto length = MusicLengthFromBytes(file);
  if (!ParseWave(file)) {
    FUZZ_CHECK(length.has_value() == summary.has_value());
    if (length) FUZZ_CHECK(*length == summary->DurationMs());
  }
  return 0;
}
