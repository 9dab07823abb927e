// The length of a music file from its bytes alone: MPEG audio by its frame headers, WAVE by
// its data size. Deterministic, so headless runs and media checks agree on every machine.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace zrb::audio {

// Nothing when the bytes hold neither a WAVE the effects could take nor MPEG audio frames.
std::optional<double> MusicLengthFromBytes(std::span<const uint8_t> file);

// Reads the file on disk first; nothing when it cannot be read or measured.
std::optional<double> MusicLengthOfFile(const std::string& path);

}  // namespace zrb::audio
