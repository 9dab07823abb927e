#include "tools/mediagen/audio_files.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace mediagen {

namespace {

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
uint16_t Get16(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}
int16_t ToPcm(float s) {
  return static_cast<int16_t>(std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f));
}

struct LameClose {
  void operator()(lame_global_flags* g) const { lame_close(g); }
};

}  // namespace

std::vector<uint8_t> EncodeWav(const AudioBuffer& audio) {
  uint32_t dataBytes = static_cast<uint32_t>(audio.samples.size() * 2);
  std::vector<uint8_t> out;
  out.reserve(44 + dataBytes);
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  Put32(out, 36 + dataBytes);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, static_cast<uint16_t>(audio.channels));
  Put32(out, static_cast<uint32_t>(audio.rate));
  Put32(out, static_cast<uint32_t>(audio.rate * audio.channels * 2));
  Put16(out, static_cast<uint16_t>(audio.channels * 2));
  Put16(out, 16);
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  Put32(out, dataBytes);
  for (float s : audio.samples)
    Put16(out, static_cast<uint16_t>(ToPcm(s)));
  return out;
}

std::vector<uint8_t> EncodeMp3(const AudioBuffer& audio) {
  std::unique_ptr<lame_global_flags, LameClose> lame(lame_init());
  if (!lame) throw std::runtime_error("LAME could not be started");
  lame_set_in_samplerate(lame.get(), audio.rate);
  lame_set_out_samplerate(lame.get(), audio.rate);
  lame_set_num_channels(lame.get(), audio.channels);
  lame_set_mode(lame.get(), audio.channels == 2 ? JOINT_STEREO : MONO);
  lame_set_brate(lame.get(), kMusicBitrate);
  lame_set_VBR(lame.get(), vbr_off);
  lame_set_quality(lame.get(), 5);
  // The Info tag tells decoders the encoder delay and padding, for gapless looping.
  lame_set_bWriteVbrTag(lame.get(), 1);
  if (lame_init_params(lame.get()) < 0) throw std::runtime_error("LAME rejected the settings");

  std::vector<short> left(audio.frames()), right(audio.frames());
  for (size_t i = 0; i < audio.frames(); ++i) {
    left[i] = ToPcm(audio.samples[i * audio.channels]);
    right[i] = audio.channels == 2 ? ToPcm(audio.samples[i * 2 + 1]) : left[i];
  }
  std::vector<uint8_t> out;
  std::vector<unsigned char> chunk(static_cast<size_t>(1.25 * 8192 + 7200));
  const size_t block = 8192;
  for (size_t at = 0; at < left.size(); at += block) {
    int n = static_cast<int>(std::min(block, left.size() - at));
    int got = lame_encode_buffer(lame.get(), left.data() + at, right.data() + at, n, chunk.data(),
                                 static_cast<int>(chunk.size()));
    if (got < 0) throw std::runtime_error("LAME failed to encode (" + std::to_string(got) + ")");
    out.insert(out.end(), chunk.begin(), chunk.begin() + got);
  }
  int got = lame_encode_flush(lame.get(), chunk.data(), static_cast<int>(chunk.size()));
  if (got < 0) throw std::runtime_error("LAME failed to finish (" + std::to_string(got) + ")");
  out.insert(out.end(), chunk.begin(), chunk.begin() + got);
  // The first frame was kept free for the tag; fill it in now.
  std::vector<unsigned char> tag(4096);
  size_t tagSize = lame_get_lametag_frame(lame.get(), tag.data(), tag.size());
  if (tagSize > 0 && tagSize <= out.size()) std::memcpy(out.data(), tag.data(), tagSize);
  return out;
}

WavInfo InspectWav(const std::vector<uint8_t>& b) {
  WavInfo info;
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 ||
      std::memcmp(b.data() + 8, "WAVE", 4) != 0) {
    info.error = "no RIFF WAVE header";
    return info;
  }
  if (Get32(b, 4) != b.size() - 8) {
    info.error = "RIFF size " + std::to_string(Get32(b, 4)) + " does not match the file";
    return info;
  }
  size_t at = 12;
  bool haveFormat = false;
  while (at + 8 <= b.size()) {
    uint32_t size = Get32(b, at + 4);
    if (at + 8 + size > b.size()) {
      info.error = "chunk runs past the end of the file";
      return info;
    }
    if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && size >= 16) {
      if (Get16(b, at + 8) != 1) info.error = "not PCM";
      info.channels = Get16(b, at + 10);
      info.rate = static_cast<int>(Get32(b, at + 12));
      info.blockAlign = Get16(b, at + 20);
      info.bits = Get16(b, at + 22);
      if (Get32(b, at + 16) != static_cast<uint32_t>(info.rate * info.blockAlign))
        info.error = "byte rate does not match";
      if (info.blockAlign != info.channels * info.bits / 8)
        info.error = "block align does not match";
      haveFormat = true;
    } else if (std::memcmp(b.data() + at, "data", 4) == 0) {
      if (!haveFormat) info.error = "data before fmt";
      info.dataBytes = size;
      if (info.blockAlign && size % info.blockAlign) info.error = "data is not whole sample frames";
      return info;
    }
    at += 8 + size + (size & 1);
  }
  info.error = "no data chunk";
  return info;
}

}  // namespace mediagen
