#include "engine/audio/pcm_layout.h"

#include <cstring>

namespace zrb::audio {
namespace {

std::optional<PcmLayout> Refuse(std::string* whyNot, const char* reason) {
  if (whyNot) *whyNot = reason;
  return std::nullopt;
}

}  // namespace

std::optional<PcmLayout> DescribePcm(const WaveSound& sound, std::string* whyNot) {
  const WaveFormat& format = sound.format;
  if (format.bitsPerSample != 8 && format.bitsPerSample != 16) {
    return Refuse(whyNot, "sample size is not 8 or 16 bits");
  }
  if (format.fileChannels == 0 || format.fileChannels > kMaxWaveChannels) {
    return Refuse(whyNot, "channel count out of range");
  }
  if (format.sampleRate < kMinSampleRate || format.sampleRate > kMaxSampleRate) {
    return Refuse(whyNot, "sample rate out of range");
  }
  PcmLayout layout;
  layout.channels = format.channels;
  layout.bytesPerSample = static_cast<uint16_t>(format.bitsPerSample / 8);
  layout.frameStride = format.blockAlign;
  layout.sampleRate = format.sampleRate;
  if (format.blockAlign != uint32_t{format.fileChannels} * layout.bytesPerSample) {
    return Refuse(whyNot, "block align does not match channels and sample size");
  }
  layout.frameCount = sound.data.size() / layout.frameStride;
  if (layout.frameCount == 0) return Refuse(whyNot, "no sample data");
  return layout;
}

std::vector<uint8_t> PackFrames(const WaveSound& sound, const PcmLayout& layout) {
  const size_t frameBytes = size_t{layout.channels} * layout.bytesPerSample;
  std::vector<uint8_t> packed(layout.frameCount * frameBytes);
  if (frameBytes == layout.frameStride) {
    std::memcpy(packed.data(), sound.data.data(), packed.size());
    return packed;
  }
  const uint8_t* source = sound.data.data();
  uint8_t* target = packed.data();
  for (uint64_t frame = 0; frame < layout.frameCount; ++frame) {
    std::memcpy(target, source, frameBytes);
    target += frameBytes;
    source += layout.frameStride;
  }
  return packed;
}

}  // namespace zrb::audio
