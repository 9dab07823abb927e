#include <gtest/gtest.h>

#include "audio/support/audio_files.h"
#include "engine/audio/mp3_length.h"

namespace zrb::audio {
namespace {

using testing::Bytes;
using testing::EncodeToneMp3;

TEST(Mp3Length, CountsTheFramesTheEncoderWroteAtEachSampleRate) {
  // MPEG-1, MPEG-2 and MPEG-2.5 streams, with and without the encoder's summary frame.
  for (const uint32_t rate : {44100u, 32000u, 22050u, 16000u, 11025u, 8000u}) {
    const auto encoded = EncodeToneMp3(700, rate, /*summaryFrame=*/rate % 2 == 0);
    const auto summary = SummarizeMp3(encoded.bytes);
    ASSERT_TRUE(summary) << rate;
    EXPECT_EQ(summary->sampleRate, encoded.sampleRate) << rate;
    EXPECT_EQ(summary->frameCount, static_cast<uint64_t>(encoded.audioFrames)) << rate;
    EXPECT_DOUBLE_EQ(summary->DurationMs(), encoded.DurationMs()) << rate;
    EXPECT_GE(summary->DurationMs(), 700.0) << rate;
  }
}

// Every version, layer, bitrate, sample rate and padding: a stream of three frames of the
// length the MPEG audio standard gives is three frames long, and lasts their samples.
TEST(Mp3Length, EveryKindOfFrameHasItsStandardLength) {
  constexpr int kRates[3] = {44100, 48000, 32000};
  constexpr int kBitrates[5][14] = {
      {32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
      {32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
      {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
      {32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
      {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};
  for (const int version : {3, 2, 0}) {  // MPEG-1, 2, 2.5
    for (const int layer : {3, 2, 1}) {  // layer I, II, III
      const bool mpeg1 = version == 3;
      const int row = mpeg1 ? 3 - layer : (layer == 3 ? 3 : 4);
      for (int bitrate = 1; bitrate <= 14; ++bitrate) {
        for (int rate = 0; rate < 3; ++rate) {
          for (int padding = 0; padding < 2; ++padding) {
            const int hz = kRates[rate] >> (mpeg1 ? 0 : version == 2 ? 1 : 2);
            const int bps = kBitrates[row][bitrate - 1] * 1000;
            const int length = layer == 3 ? (12 * bps / hz + padding) * 4
                                          : (layer == 2 || mpeg1 ? 144 : 72) * bps / hz + padding;
            const int samples = layer == 3 ? 384 : (layer == 2 || mpeg1 ? 1152 : 576);
            Bytes frame(static_cast<size_t>(length), 0);
            frame[0] = 0xFF;
            frame[1] = static_cast<uint8_t>(0xE1 | version << 3 | layer << 1);
            frame[2] = static_cast<uint8_t>(bitrate << 4 | rate << 2 | padding << 1);
            Bytes file;
            for (int i = 0; i < 3; ++i)
              file.insert(file.end(), frame.begin(), frame.end());
            const auto summary = SummarizeMp3(file);
            SCOPED_TRACE(::testing::Message()
                         << "version " << version << " layer " << layer << " bitrate " << bitrate
                         << " rate " << rate << " padding " << padding);
            ASSERT_TRUE(summary);
            EXPECT_EQ(summary->frameCount, 3u);
            EXPECT_EQ(summary->sampleRate, static_cast<uint32_t>(hz));
            EXPECT_EQ(summary->sampleCount, 3u * samples);
          }
        }
      }
    }
  }
}

TEST(Mp3Length, SkipsLeadingTagsAndStraySyncPatterns) {
  const auto encoded = EncodeToneMp3(300, 22050, true);
  // An ID3v2 tag whose body looks like a frame header, then junk with a lone header.
  Bytes file{'I', 'D', '3', 3, 0, 0, 0, 0, 0, 20};
  const Bytes tagBody{0xFF, 0xF3, 0x44, 0xC4, 1,  2,  3,  4,  5,  6,
                      7,    8,    9,    10,   11, 12, 13, 14, 15, 16};
  file.insert(file.end(), tagBody.begin(), tagBody.end());
  file.insert(file.end(), {0xFF, 0xF3, 0x44, 0xC4, 0x00, 0x00, 0x00, 'x', 'y'});
  file.insert(file.end(), encoded.bytes.begin(), encoded.bytes.end());
  const auto summary = SummarizeMp3(file);
  ASSERT_TRUE(summary);
  EXPECT_EQ(summary->frameCount, static_cast<uint64_t>(encoded.audioFrames));
}

TEST(Mp3Length, TruncatedFileCountsOnlyWholeFrames) {
  const auto encoded = EncodeToneMp3(1000, 22050, true);
  const auto full = SummarizeMp3(encoded.bytes);
  ASSERT_TRUE(full);
  const Bytes half(encoded.bytes.begin(), encoded.bytes.begin() + encoded.bytes.size() / 2 + 7);
  const auto cut = SummarizeMp3(half);
  ASSERT_TRUE(cut);
  EXPECT_LT(cut->frameCount, full->frameCount);
  EXPECT_GE(cut->frameCount + 1, full->frameCount / 2);
}

TEST(Mp3Length, EmptyOrGarbageHasNoLength) {
  EXPECT_FALSE(SummarizeMp3({}));
  const std::string text = "this is not music at all, only words about music. ";
  Bytes garbage;
  for (int i = 0; i < 100; ++i)
    garbage.insert(garbage.end(), text.begin(), text.end());
  EXPECT_FALSE(SummarizeMp3(garbage));
  EXPECT_FALSE(SummarizeMp3(Bytes(5000, 0xFF)));
  EXPECT_FALSE(SummarizeMp3(Bytes{'I', 'D', '3', 3, 0, 0, 0x7F, 0x7F, 0x7F, 0x7F}));
}

}  // namespace
}  // namespace zrb::audio
