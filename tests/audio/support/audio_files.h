// Test fixtures made by code: RIFF/WAVE files chunk by chunk, MP3 tones from LAME, and a
// scratch folder on disk for them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zrb::audio::testing {

using Bytes = std::vector<uint8_t>;

// The 16 bytes of a "fmt " block: tag, channels, rate, average bytes per second, block align,
// bits per sample.
Bytes FormatBlock(uint16_t channels, uint32_t rate, uint16_t blockAlign, uint16_t bits);

// One chunk: identifier, stated size (the payload's size unless given), payload.
Bytes Chunk(const char* id, const Bytes& payload);
Bytes ChunkWithSize(const char* id, uint32_t statedSize, const Bytes& payload);

// "RIFF" size "WAVE" followed by the chunks.
Bytes Riff(const std::vector<Bytes>& chunks);

// `frames` frames of a ramp: each channel's samples count up from a different start, so the
// order of channels in a frame can be checked.
Bytes RampSamples(uint32_t frames, uint16_t channels, uint16_t bits);

// A plain PCM WAVE of `ms` milliseconds with consistent block align.
Bytes ToneWave(uint32_t ms, uint16_t channels, uint32_t rate, uint16_t bits);

// Named byte strings that are not WAVE sounds the output can take: truncated, missing chunks,
// sizes past the end, zero or absurd channel counts, rates, block aligns and sample sizes.
struct BadWave {
  std::string what;
  Bytes bytes;
};
std::vector<BadWave> BadWaveFiles();

struct EncodedMp3 {
  Bytes bytes;
  int audioFrames = 0;  // frames of sound LAME wrote (its summary frame not counted)
  int samplesPerFrame = 0;
  uint32_t sampleRate = 0;

  double DurationMs() const { return audioFrames * samplesPerFrame * 1000.0 / sampleRate; }
};

// A mono sine tone encoded as constant-bitrate MP3; with `summaryFrame`, LAME's "Info" frame
// leads the file as encoders write it.
EncodedMp3 EncodeToneMp3(uint32_t ms, uint32_t rate, bool summaryFrame);
}  // namespace zrb::audio::testing
