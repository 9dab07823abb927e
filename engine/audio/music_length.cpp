#include "engine/audio/music_length.h"

#include "engine/audio/mp3_length.h"
#include "engine/audio/pcm_layout.h"
#include "engine/audio/wave_file.h"
#include "engine/files/resolver.h"

namespace zrb::audio {

std::optional<double> MusicLengthFromBytes(std::span<const uint8_t> file) {
  if (const auto wave = ParseWave(file)) {
    if (const auto layout = DescribePcm(*wave)) return layout->DurationMs();
    return std::nullopt;
  }
  if (const auto mp3 = SummarizeMp3(file)) return mp3->DurationMs();
  return std::nullopt;
}

std::optional<double> MusicLengthOfFile(const std::string& path) {
  const auto bytes = files::ReadResolvedFile(path);
  if (!bytes) return std::nullopt;
  return MusicLengthFromBytes(*bytes);
}

}  // namespace zrb::audio
