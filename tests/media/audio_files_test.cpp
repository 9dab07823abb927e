#include "tools/mediagen/audio_files.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mediagen {
namespace {

AudioBuffer Tone(int rate, int channels, double seconds) {
  AudioBuffer a;
  a.rate = rate;
  a.channels = channels;
  size_t frames = static_cast<size_t>(rate * seconds);
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      a.samples.push_back(static_cast<float>(0.5 * std::sin(i * 0.05)));
  return a;
}

TEST(Wave, HeaderDescribesSixteenBitPcm) {
  std::vector<uint8_t> bytes = EncodeWav(Tone(22050, 1, 0.1));
  WavInfo info = InspectWav(bytes);
  EXPECT_EQ(info.error, "");
  EXPECT_EQ(info.channels, 1);
  EXPECT_EQ(info.rate, 22050);
  EXPECT_EQ(info.bits, 16);
  EXPECT_EQ(info.blockAlign, 2);
  EXPECT_EQ(info.dataBytes, 2205u * 2);
  EXPECT_EQ(bytes.size(), 44u + 2205u * 2);
  // Samples beyond full scale are clipped, not wrapped.
  AudioBuffer loud;
  loud.samples = {2.0f, -2.0f};
  std::vector<uint8_t> clipped = EncodeWav(loud);
  EXPECT_EQ(clipped[44] | (clipped[45] << 8), 32767);
  EXPECT_EQ(static_cast<int16_t>(clipped[46] | (clipped[47] << 8)), -32767);
}

TEST(Wave, InspectionFindsDamagedHeaders) {
  std::vector<uint8_t> good = EncodeWav(Tone(22050, 2, 0.01));
  EXPECT_EQ(InspectWav(good).error, "");
  EXPECT_EQ(InspectWav(good).channels, 2);
  std::vector<uint8_t> cut(good.begin(), good.begin() + 30);
  EXPECT_NE(InspectWav(cut).error, "");
  std::vector<uint8_t> notRiff = good;
  notRiff[0] = 'X';
  EXPECT_EQ(InspectWav(notRiff).error, "no RIFF WAVE header");
  std::vector<uint8_t> badAlign = good;
  badAlign[32] = 3;  // block align
  EXPECT_NE(InspectWav(badAlign).error, "");
  EXPECT_EQ(InspectWav({}).error, "no RIFF WAVE header");
}

TEST(Mp3, EncodingIsRepeatableAndStartsWithAFrame) {
  AudioBuffer a = Tone(kMusicRate, 2, 1.0);
  std::vector<uint8_t> first = EncodeMp3(a), second = EncodeMp3(a);
  ASSERT_GT(first.size(), 4000u);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first[0], 0xFF);  // frame sync
  EXPECT_EQ(first[1] & 0xE0, 0xE0);
  // 80 kbit/s for about a second, plus the tag frame and padding.
  EXPECT_NEAR(static_cast<double>(first.size()), 10000.0, 2000.0);
}

}  // namespace
}  // namespace mediagen
