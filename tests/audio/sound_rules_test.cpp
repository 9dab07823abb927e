// What the audio code decides by itself: WAVE files (every bad one refused with a reason), MPEG
// audio's playing time from its frame headers, and volume and pan in hundredths of a decibel.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "audio/support/audio_files.h"
#include "engine/audio/gain.h"
#include "engine/audio/mp3_length.h"
#include "engine/audio/pcm_layout.h"
#include "engine/audio/wave_file.h"

namespace zrb::audio {

namespace {

using namespace testing;

uint16_t SampleAt(const std::vector<uint8_t>& pcm, size_t index) {
  return static_cast<uint16_t>(pcm[2 * index] | (pcm[2 * index + 1] << 8));
}

// The format block and the data; more than two channels are handed on as the first two, with
// the file's block align.
TEST(WaveFile, ReadsFormatBlockAndDataAndHandsOnTwoChannelsOfSix) {
  const struct {
    Bytes file;
    uint16_t fileChannels, blockAlign;
    uint32_t rate, frames;
  } cases[] = {
      {ToneWave(100, 2, 22050, 16), 2, 4, 22050, 2205},
      {Riff({Chunk("fmt ", FormatBlock(6, 48000, 12, 16)), Chunk("data", RampSamples(30, 6, 16))}),
       6, 12, 48000, 30},
  };
  for (const auto& c : cases) {
    const auto sound = ParseWave(c.file);
    ASSERT_TRUE(sound);
    EXPECT_EQ(sound->format.fileChannels, c.fileChannels);
    EXPECT_EQ(sound->format.channels, 2);
    EXPECT_EQ(sound->format.sampleRate, c.rate);
    EXPECT_EQ(sound->format.bitsPerSample, 16);
    EXPECT_EQ(sound->format.AverageBytesPerSecond(), c.rate * c.blockAlign);
    const auto layout = DescribePcm(*sound);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->channels, 2);
    EXPECT_EQ(layout->frameStride, c.blockAlign);
    EXPECT_EQ(layout->frameCount, c.frames);
    EXPECT_DOUBLE_EQ(layout->DurationMs(), c.frames * 1000.0 / c.rate);
    // The first two samples of every frame are the ones that sound.
    const std::vector<uint8_t> pcm = PackFrames(*sound, *layout);
    ASSERT_EQ(pcm.size(), c.frames * 4);
    for (uint16_t frame = 0; frame < c.frames; ++frame) {
      EXPECT_EQ(SampleAt(pcm, 2 * frame), frame);
      EXPECT_EQ(SampleAt(pcm, 2 * frame + 1), 1000 + frame);
    }
  }
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

// The mixer's volume and pan in hundredths of a decibel, and the gains they give: volume and pan
// clamped and truncated, not-a-number as none, and only the side away from the pan attenuated.
TEST(Gain, VolumeAndPanBecomeHundredthsOfADecibelAndGains) {
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kHalf = 0.0031622777, kTenth = 0.8912509, kPan = 0.2415461;
  const struct {
    double pan, volume;
    int32_t volumeDb, panDb;
    double left, right;
  } cases[] = {
      {0, 0.5, -5000, 0, kHalf, kHalf},
      {0, 2.0, 0, 0, 1, 1},
      {0, 0.999, -100, 0, kTenth, kTenth},
      {0, -4.0, -10000, 0, 0, 0},
      {0, -1e300, -10000, 0, 0, 0},
      {0, kNaN, -10000, 0, 0, 0},
      {-3.0, 1.0, 0, -10000, 1, 0},
      {0.5, 1.0, 0, 5000, kHalf, 1},
      {0.12345, 0.999, -100, 1234, kPan * kTenth, kTenth},
      {-0.12345, 1.0, 0, -1234, 1, kPan},
      {kNaN, 1.0, 0, 0, 1, 1},
      {std::numeric_limits<double>::infinity(), 1.0, 0, 10000, 0, 1},
  };
  for (const auto& c : cases) {
    const PlayLevels levels = LevelsFor(c.pan, c.volume);
    EXPECT_EQ(levels.volumeHundredthsDb, c.volumeDb) << c.pan << " " << c.volume;
    EXPECT_EQ(levels.panHundredthsDb, c.panDb) << c.pan << " " << c.volume;
    const ChannelGains gains = GainsFor(levels);
    EXPECT_NEAR(gains.left, c.left, 1e-7) << c.pan << " " << c.volume;
    EXPECT_NEAR(gains.right, c.right, 1e-7) << c.pan << " " << c.volume;
    EXPECT_EQ(gains.IsUnity(), c.left == 1 && c.right == 1) << c.pan << " " << c.volume;
  }
}

TEST(Gain, ScalesInterleavedStereoFrames) {
  int16_t frames[] = {1000, -1000, 32767, -32768, 0, 7};
  ApplyGains(frames, 3, {0.5f, 0.25f});
  EXPECT_EQ(std::vector<int16_t>(frames, frames + 6),
            (std::vector<int16_t>{500, -250, 16384, -8192, 0, 2}));
}

}  // namespace
}  // namespace zrb::audio
