#include <gtest/gtest.h>

#include "audio/support/audio_files.h"
#include "engine/audio/pcm_layout.h"
#include "engine/audio/wave_file.h"

namespace zrb::audio {
namespace {

using testing::Bytes;
using testing::Chunk;
using testing::ChunkWithSize;
using testing::FormatBlock;
using testing::RampSamples;
using testing::Riff;

uint16_t SampleAt(const std::vector<uint8_t>& pcm, size_t index) {
  return static_cast<uint16_t>(pcm[2 * index] | (pcm[2 * index + 1] << 8));
}

TEST(WaveFile, ReadsFormatBlockAndData) {
  const Bytes file = testing::ToneWave(100, 2, 22050, 16);
  const auto sound = ParseWave(file);
  ASSERT_TRUE(sound);
  EXPECT_EQ(sound->format.fileChannels, 2);
  EXPECT_EQ(sound->format.channels, 2);
  EXPECT_EQ(sound->format.sampleRate, 22050u);
  EXPECT_EQ(sound->format.blockAlign, 4);
  EXPECT_EQ(sound->format.bitsPerSample, 16);
  EXPECT_EQ(sound->format.AverageBytesPerSecond(), 88200u);
  EXPECT_EQ(sound->data.size(), 2205u * 4);
  const auto layout = DescribePcm(*sound);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->frameCount, 2205u);
  EXPECT_DOUBLE_EQ(layout->DurationMs(), 100.0);
}

TEST(WaveFile, SkipsOtherChunksByTheirStatedSizeAndExtraFormatBytes) {
  Bytes format = FormatBlock(1, 11025, 1, 8);
  format.insert(format.end(), {0, 0});  // a writer's extra-size field: skipped with the chunk
  const Bytes data = RampSamples(50, 1, 8);
  const Bytes file = Riff({Chunk("LIST", Bytes{'a', 'b', 'c'}), Chunk("fmt ", format),
                           Chunk("fact", Bytes(4, 0xFF)), Chunk("data", data)});
  const auto sound = ParseWave(file);
  ASSERT_TRUE(sound);
  EXPECT_EQ(sound->format.sampleRate, 11025u);
  EXPECT_EQ(sound->format.bitsPerSample, 8);
  EXPECT_TRUE(std::equal(sound->data.begin(), sound->data.end(), data.begin(), data.end()));
}

TEST(WaveFile, SixChannelsAreHandedOnAsTwoWithTheFilesBlockAlign) {
  const Bytes file =
      Riff({Chunk("fmt ", FormatBlock(6, 48000, 12, 16)), Chunk("data", RampSamples(30, 6, 16))});
  const auto sound = ParseWave(file);
  ASSERT_TRUE(sound);
  EXPECT_EQ(sound->format.fileChannels, 6);
  EXPECT_EQ(sound->format.channels, 2);
  EXPECT_EQ(sound->format.blockAlign, 12);
  EXPECT_EQ(sound->format.bitsPerSample, 16);
  EXPECT_EQ(sound->format.AverageBytesPerSecond(), 48000u * 12);
  const auto layout = DescribePcm(*sound);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->channels, 2);
  EXPECT_EQ(layout->frameStride, 12);
  EXPECT_EQ(layout->frameCount, 30u);
  // The first two samples of every frame are the ones that sound.
  const std::vector<uint8_t> pcm = PackFrames(*sound, *layout);
  ASSERT_EQ(pcm.size(), 30u * 4);
  for (uint16_t frame = 0; frame < 30; ++frame) {
    EXPECT_EQ(SampleAt(pcm, 2 * frame), frame);
    EXPECT_EQ(SampleAt(pcm, 2 * frame + 1), 1000 + frame);
  }
}

TEST(WaveFile, DataSizePastTheEndIsCutToWholeFramesThatArePresent) {
  Bytes data = RampSamples(40, 2, 16);
  data.push_back(0x55);  // half a sample at the end
  const Bytes file =
      Riff({Chunk("fmt ", FormatBlock(2, 22050, 4, 16)), ChunkWithSize("data", 100000, data)});
  const auto sound = ParseWave(file);
  ASSERT_TRUE(sound);
  EXPECT_EQ(sound->statedDataSize, 100000u);
  EXPECT_EQ(sound->data.size(), data.size());
  const auto layout = DescribePcm(*sound);
  ASSERT_TRUE(layout);
  EXPECT_EQ(layout->frameCount, 40u);
  EXPECT_EQ(PackFrames(*sound, *layout).size(), 160u);
}

TEST(WaveFile, RefusesEveryBadFileWithAReason) {
  for (const auto& bad : testing::BadWaveFiles()) {
    std::string why;
    const auto sound = ParseWave(bad.bytes, &why);
    const auto layout = sound ? DescribePcm(*sound, &why) : std::nullopt;
    EXPECT_FALSE(layout) << bad.what;
    EXPECT_FALSE(why.empty()) << bad.what;
  }
}

}  // namespace
}  // namespace zrb::audio
