#include "engine/audio/wave_file.h"

#include <cstring>

namespace zrb::audio {
namespace {

constexpr size_t kChunkHeaderSize = 8;
constexpr size_t kFormatBlockSize = 16;

uint16_t ReadU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

bool Fail(std::string* whyNot, const char* reason) {
  if (whyNot) *whyNot = reason;
  return false;
}

// Walks chunk headers from `pos`, skipping every chunk that is not `id`. On success `pos` is
// just past the header of the found chunk and `size` holds its stated size.
bool FindChunk(std::span<const uint8_t> file, uint64_t& pos, const char* id, uint32_t& size) {
  while (pos + kChunkHeaderSize <= file.size()) {
    const uint8_t* header = file.data() + pos;
    size = ReadU32(header + 4);
    pos += kChunkHeaderSize;
    if (std::memcmp(header, id, 4) == 0) return true;
    pos += size;  // no pad byte after an odd size: the stated size is taken as it is
  }
  return false;
}

}  // namespace

std::optional<WaveSound> ParseWave(std::span<const uint8_t> file, std::string* whyNot) {
  if (file.size() < 12 || std::memcmp(file.data(), "RIFF", 4) != 0 ||
      std::memcmp(file.data() + 8, "WAVE", 4) != 0) {
    Fail(whyNot, "not a RIFF WAVE file");
    return std::nullopt;
  }
  uint64_t pos = 12;
  uint32_t chunkSize = 0;
  if (!FindChunk(file, pos, "fmt ", chunkSize)) {
    Fail(whyNot, "no \"fmt \" chunk");
    return std::nullopt;
  }
  if (chunkSize < kFormatBlockSize || pos + kFormatBlockSize > file.size()) {
    Fail(whyNot, "format block shorter than 16 bytes");
    return std::nullopt;
  }
  const uint8_t* block = file.data() + pos;
  WaveSound sound;
  // Bytes 0..1 hold the format tag, which the loader ignores; 8..11 the average byte rate,
  // which it recomputes.
  sound.format.fileChannels = ReadU16(block + 2);
  sound.format.channels = sound.format.fileChannels > 1 ? 2 : 1;
  sound.format.sampleRate = ReadU32(block + 4);
  sound.format.blockAlign = ReadU16(block + 12);
  sound.format.bitsPerSample = ReadU16(block + 14);
  pos += chunkSize;

  if (!FindChunk(file, pos, "data", chunkSize)) {
    Fail(whyNot, "no \"data\" chunk");
    return std::nullopt;
  }
  sound.statedDataSize = chunkSize;
  const uint64_t available = file.size() - pos;
  sound.data = file.subspan(pos, chunkSize < available ? chunkSize : available);
  return sound;
}

}  // namespace zrb::audio
