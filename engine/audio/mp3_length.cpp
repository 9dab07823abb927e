#include "engine/audio/mp3_length.h"

#include <cstring>

namespace zrb::audio {
namespace {

enum MpegVersion { kMpeg25 = 0, kMpeg2 = 2, kMpeg1 = 3 };
enum MpegLayer { kLayer3 = 1, kLayer2 = 2, kLayer1 = 3 };

// Kilobits per second by [row][bitrate index]; rows: MPEG-1 layers I, II, III, then MPEG-2/2.5
// layer I, then MPEG-2/2.5 layers II and III.
constexpr uint16_t kBitrates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
constexpr uint32_t kMpeg1Rates[3] = {44100, 48000, 32000};

struct FrameHeader {
  int version = 0;
  int layer = 0;
  uint32_t sampleRate = 0;
  uint32_t length = 0;  // bytes, header included
  uint32_t samples = 0;
  bool mono = false;

  bool SameKind(const FrameHeader& other) const {
    return version == other.version && layer == other.layer && sampleRate == other.sampleRate;
  }
};

std::optional<FrameHeader> ReadHeader(const uint8_t* p) {
  if (p[0] != 0xFF || (p[1] & 0xE0) != 0xE0) return std::nullopt;
  FrameHeader header;
  header.version = (p[1] >> 3) & 3;
  header.layer = (p[1] >> 1) & 3;
  const int bitrateIndex = p[2] >> 4;
  const int rateIndex = (p[2] >> 2) & 3;
  const uint32_t padding = (p[2] >> 1) & 1;
  if (header.version == 1 || header.layer == 0 || bitrateIndex == 0 || bitrateIndex == 15 ||
      rateIndex == 3) {
    return std::nullopt;  // reserved values, or a free-format bitrate we cannot measure
  }
  header.mono = ((p[3] >> 6) & 3) == 3;
  header.sampleRate = kMpeg1Rates[rateIndex] >> (header.version == kMpeg1   ? 0
                                                 : header.version == kMpeg2 ? 1
                                                                            : 2);
  const bool mpeg1 = header.version == kMpeg1;
  int row = 0;
  if (mpeg1) {
    row = header.layer == kLayer1 ? 0 : header.layer == kLayer2 ? 1 : 2;
  } else {
    row = header.layer == kLayer1 ? 3 : 4;
  }
  const uint32_t bitsPerSecond = uint32_t{kBitrates[row][bitrateIndex]} * 1000;
  if (header.layer == kLayer1) {
    header.samples = 384;
    header.length = (12 * bitsPerSecond / header.sampleRate + padding) * 4;
  } else if (header.layer == kLayer2 || mpeg1) {
    header.samples = 1152;
    header.length = 144 * bitsPerSecond / header.sampleRate + padding;
  } else {
    header.samples = 576;
    header.length = 72 * bitsPerSecond / header.sampleRate + padding;
  }
  return header;
}

// An encoder's summary frame carries no audio: "Xing"/"Info" after the side information of a
// layer III frame, or "VBRI" at a fixed place.
bool IsSummaryFrame(const uint8_t* frame, const FrameHeader& header) {
  if (header.layer != kLayer3) return false;
  size_t sideInfo = 0;
  if (header.version == kMpeg1) {
    sideInfo = header.mono ? 17 : 32;
  } else {
    sideInfo = header.mono ? 9 : 17;
  }
  const auto tagAt = [&](size_t offset, const char* tag) {
    return offset + 4 <= header.length && std::memcmp(frame + offset, tag, 4) == 0;
  };
  return tagAt(4 + sideInfo, "Xing") || tagAt(4 + sideInfo, "Info") || tagAt(4 + 32, "VBRI");
}

size_t SkipId3v2(std::span<const uint8_t> file) {
  size_t pos = 0;
  // Some files carry more than one tag in a row.
  while (pos + 10 <= file.size() && std::memcmp(file.data() + pos, "ID3", 3) == 0) {
    const uint8_t* tag = file.data() + pos;
    if ((tag[6] | tag[7] | tag[8] | tag[9]) & 0x80) break;  // not a sync-safe size
    const size_t size =
        (size_t{tag[6]} << 21) | (size_t{tag[7]} << 14) | (size_t{tag[8]} << 7) | size_t{tag[9]};
    const bool hasFooter = (tag[5] & 0x10) != 0;
    pos += 10 + size + (hasFooter ? 10 : 0);
  }
  return pos < file.size() ? pos : file.size();
}

}  // namespace

std::optional<Mp3Summary> SummarizeMp3(std::span<const uint8_t> file) {
  size_t pos = SkipId3v2(file);
  std::optional<FrameHeader> first;
  // A frame counts as the start of the stream only when the next frame follows it directly,
  // so a stray sync pattern in tag or junk bytes is not taken for audio.
  for (; pos + 4 <= file.size(); ++pos) {
    first = ReadHeader(file.data() + pos);
    if (!first || pos + first->length > file.size()) continue;
    const size_t next = pos + first->length;
    if (next == file.size()) break;
    if (next + 4 <= file.size()) {
      const auto following = ReadHeader(file.data() + next);
      if (following && following->SameKind(*first)) break;
    }
  }
  if (pos + 4 > file.size()) return std::nullopt;

  Mp3Summary summary;
  summary.sampleRate = first->sampleRate;
  bool firstFrame = true;
  while (pos + 4 <= file.size()) {
    const auto header = ReadHeader(file.data() + pos);
    if (!header || !header->SameKind(*first) || pos + header->length > file.size()) break;
    if (!(firstFrame && IsSummaryFrame(file.data() + pos, *header))) {
      ++summary.frameCount;
      summary.sampleCount += header->samples;
    }
    firstFrame = false;
    pos += header->length;
  }
  if (summary.frameCount == 0) return std::nullopt;
  return summary;
}

}  // namespace zrb::audio
