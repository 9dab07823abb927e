#include "audio/support/audio_files.h"

#include <lame/lame.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace zrb::audio::testing {
namespace {

void AppendU16(Bytes& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void AppendU32(Bytes& out, uint32_t value) {
  AppendU16(out, static_cast<uint16_t>(value));
  AppendU16(out, static_cast<uint16_t>(value >> 16));
}

}  // namespace

Bytes FormatBlock(uint16_t channels, uint32_t rate, uint16_t blockAlign, uint16_t bits) {
  Bytes block;
  AppendU16(block, 1);  // PCM
  AppendU16(block, channels);
  AppendU32(block, rate);
  AppendU32(block, rate * blockAlign);
  AppendU16(block, blockAlign);
  AppendU16(block, bits);
  return block;
}

Bytes ChunkWithSize(const char* id, uint32_t statedSize, const Bytes& payload) {
  Bytes chunk(id, id + 4);
  AppendU32(chunk, statedSize);
  chunk.insert(chunk.end(), payload.begin(), payload.end());
  return chunk;
}

Bytes Chunk(const char* id, const Bytes& payload) {
  return ChunkWithSize(id, static_cast<uint32_t>(payload.size()), payload);
}

Bytes Riff(const std::vector<Bytes>& chunks) {
  Bytes body;
  for (const Bytes& chunk : chunks)
    body.insert(body.end(), chunk.begin(), chunk.end());
  Bytes file{'R', 'I', 'F', 'F'};
  AppendU32(file, static_cast<uint32_t>(body.size() + 4));
  file.insert(file.end(), {'W', 'A', 'V', 'E'});
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

Bytes RampSamples(uint32_t frames, uint16_t channels, uint16_t bits) {
  Bytes data;
  for (uint32_t frame = 0; frame < frames; ++frame) {
    for (uint16_t channel = 0; channel < channels; ++channel) {
      const uint32_t value = channel * 1000 + frame;
      if (bits == 8) {
        data.push_back(static_cast<uint8_t>(value));
      } else {
        AppendU16(data, static_cast<uint16_t>(value));
      }
    }
  }
  return data;
}

Bytes ToneWave(uint32_t ms, uint16_t channels, uint32_t rate, uint16_t bits) {
  const auto frames = static_cast<uint32_t>(uint64_t{rate} * ms / 1000);
  const auto blockAlign = static_cast<uint16_t>(channels * bits / 8);
  return Riff({Chunk("fmt ", FormatBlock(channels, rate, blockAlign, bits)),
               Chunk("data", RampSamples(frames, channels, bits))});
}

EncodedMp3 EncodeToneMp3(uint32_t ms, uint32_t rate, bool summaryFrame) {
  lame_global_flags* lame = lame_init();
  if (!lame) throw std::runtime_error("lame_init failed");
  lame_set_in_samplerate(lame, static_cast<int>(rate));
  lame_set_out_samplerate(lame, static_cast<int>(rate));
  lame_set_num_channels(lame, 1);
  lame_set_mode(lame, MONO);
  lame_set_brate(lame, 64);  // room for the summary frame
  lame_set_bWriteVbrTag(lame, summaryFrame ? 1 : 0);
  if (lame_init_params(lame) < 0) {
    lame_close(lame);
    throw std::runtime_error("lame_init_params failed");
  }
  const auto count = static_cast<int>(uint64_t{rate} * ms / 1000);
  std::vector<short> pcm(count);
  for (int i = 0; i < count; ++i) {
    pcm[i] = static_cast<short>(8000 * std::sin(2 * M_PI * 440.0 * i / rate));
  }
  EncodedMp3 result;
  result.bytes.resize(count * 5 / 4 + 7200 + 16384);
  int written = lame_encode_buffer(lame, pcm.data(), pcm.data(), count, result.bytes.data(),
                                   static_cast<int>(result.bytes.size()));
  written += lame_encode_flush(lame, result.bytes.data() + written,
                               static_cast<int>(result.bytes.size()) - written);
  result.bytes.resize(written);
  if (summaryFrame) {
    // The summary frame is written last, over the blank one at the start.
    unsigned char tag[4096];
    const size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (tagSize == 0 || tagSize > result.bytes.size()) {
      lame_close(lame);
      throw std::runtime_error("no LAME summary frame");
    }
    std::memcpy(result.bytes.data(), tag, tagSize);
  }
  result.audioFrames = lame_get_frameNum(lame);
  result.samplesPerFrame = lame_get_framesize(lame);
  result.sampleRate = static_cast<uint32_t>(lame_get_out_samplerate(lame));
  lame_close(lame);
  return result;
}

std::vector<BadWave> BadWaveFiles() {
  const Bytes format = FormatBlock(1, 22050, 2, 16);
  const Bytes data = RampSamples(100, 1, 16);
  const Bytes good = Riff({Chunk("fmt ", format), Chunk("data", data)});
  const auto withFormat = [&](uint16_t channels, uint32_t rate, uint16_t blockAlign,
                              uint16_t bits) {
    return Riff({Chunk("fmt ", FormatBlock(channels, rate, blockAlign, bits)),
                 Chunk("data", RampSamples(100, 2, 16))});
  };
  Bytes notRiff = good;
  notRiff[3] = 'X';
  Bytes notWave = good;
  notWave[8] = 'A';
  return {
      {"empty", {}},
      {"only the RIFF tag", Bytes{'R', 'I', 'F', 'F'}},
      {"header cut inside the format block", Bytes(good.begin(), good.begin() + 28)},
      {"not RIFF", notRiff},
      {"RIFF but not WAVE", notWave},
      {"no fmt chunk", Riff({Chunk("data", data)})},
      {"no data chunk", Riff({Chunk("fmt ", format), Chunk("LIST", Bytes(10, 0))})},
      {"data before fmt", Riff({Chunk("data", data), Chunk("fmt ", format)})},
      {"format block of 14 bytes",
       Riff({Chunk("fmt ", Bytes(format.begin(), format.end() - 2)), Chunk("data", data)})},
      {"chunk size past the end before fmt", Riff({ChunkWithSize("LIST", 0xFFFFFFFFu, Bytes(4, 0)),
                                                   Chunk("fmt ", format), Chunk("data", data)})},
      {"data size past the end of an empty tail",
       Riff({Chunk("fmt ", format), ChunkWithSize("data", 0x7FFFFFF0u, {})})},
      {"zero channels", withFormat(0, 22050, 4, 16)},
      {"absurd channel count", withFormat(60000, 22050, 4, 16)},
      {"one channel more than 32", withFormat(33, 22050, 66, 16)},
      {"zero rate", withFormat(2, 0, 4, 16)},
      {"absurd rate", withFormat(2, 4000000000u, 4, 16)},
      {"zero block align", withFormat(2, 22050, 0, 16)},
      {"absurd block align", withFormat(2, 22050, 65535, 16)},
      {"24-bit samples", withFormat(2, 22050, 6, 24)},
      {"zero-bit samples", withFormat(2, 22050, 4, 0)},
      {"empty data chunk", Riff({Chunk("fmt ", format), Chunk("data", {})})},
      {"less than one frame", Riff({Chunk("fmt ", format), Chunk("data", Bytes{7})})},
  };
}

}  // namespace zrb::audio::testing
