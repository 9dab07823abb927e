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
