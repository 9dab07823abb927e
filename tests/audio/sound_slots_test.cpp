// The slot table in a headless run: every buffer "plays" for its samples' duration on the
// virtual clock, so the buffer rules can be followed to the millisecond.
#include <gtest/gtest.h>

#include "audio/support/audio_files.h"
#include "audio/support/system_sounds.h"
#include "engine/audio/audio_system.h"
#include "engine/audio/sound.h"
#include "engine/platform/clock.h"

namespace zrb {
namespace {

using audio::testing::ScratchDir;
using audio::testing::ToneWave;

class HeadlessSound : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetHeadless(true);
    ASSERT_TRUE(audio::InitAudio(/*headless=*/true));
  }
  void TearDown() override {
    audio::ShutdownAudio();
    platform::SetHeadless(false);
  }

  // A 16-bit mono WAVE of `ms` milliseconds (20000 Hz: whole frames for any whole ms).
  std::string Tone(const std::string& name, uint32_t ms) {
    return scratch_.Write(name, ToneWave(ms, 1, 20000, 16));
  }

  ScratchDir scratch_;
};

TEST_F(HeadlessSound, OneBufferGivesChannel768AndRefusesWhileItSounds) {
  LoadSound(Tone("ding.wav", 200), 3, 1);
  EXPECT_EQ(PlaySound(3, 0, 1), 768);
  EXPECT_EQ(SoundPlaying(768), 1);
  platform::AdvanceVirtualClock(100);
  EXPECT_EQ(PlaySound(3, 0, 1), -1);  // the first play goes on
  platform::AdvanceVirtualClock(99);
  EXPECT_EQ(SoundPlaying(768), 1);
  platform::AdvanceVirtualClock(1);
  EXPECT_EQ(SoundPlaying(768), 0);
  EXPECT_EQ(PlaySound(3, 0, 1), 768);
  const auto events = audio::TakeAudioEvents();
  EXPECT_EQ(events.sounds, (std::vector<std::string>{"play 3", "play 3"}));
  EXPECT_TRUE(events.music.empty());
}

TEST_F(HeadlessSound, FourBuffersTakeTurnsThenTheFirstStartsOver) {
  LoadSound(Tone("spray.wav", 1000), 7, 4);
  std::vector<int32_t> channels;
  for (int i = 0; i < 5; ++i) {
    channels.push_back(PlaySound(7, 0, 1));
    platform::AdvanceVirtualClock(10);
  }
  EXPECT_EQ(channels, (std::vector<int32_t>{1792, 1793, 1794, 1795, 1792}));
  // Buffer 0 began again at 40 ms; buffers 1..3 began at 10, 20 and 30 ms.
  platform::AdvanceVirtualClock(1035 - 50);
  EXPECT_EQ(SoundPlaying(1792), 1);
  EXPECT_EQ(SoundPlaying(1793), 0);
  EXPECT_EQ(SoundPlaying(1794), 0);
  EXPECT_EQ(SoundPlaying(1795), 0);
  platform::AdvanceVirtualClock(5);
  EXPECT_EQ(SoundPlaying(1792), 0);
}

TEST_F(HeadlessSound, SlotAndBufferNumbersAreClamped) {
  LoadSound(Tone("a.wav", 100), 5000, 9);
  EXPECT_EQ(audio::DescribeSoundSlot(4095).bufferCount, 4);
  EXPECT_EQ(PlaySound(5000, -3, 2), 4095 * 256);
  EXPECT_EQ(PlaySound(4095, 0, 1), 4095 * 256 + 1);
  LoadSound(Tone("b.wav", 100), 12, 0);
  EXPECT_EQ(audio::DescribeSoundSlot(12).bufferCount, 1);
  EXPECT_EQ(audio::DescribeSoundSlot(12).sourceName, Tone("b.wav", 100));
  EXPECT_DOUBLE_EQ(audio::DescribeSoundSlot(12).durationMs, 100.0);
}

TEST_F(HeadlessSound, ChannelNumbersThatNameNothingAreHarmless) {
  LoadSound(Tone("a.wav", 300), 2, 1);
  ASSERT_EQ(PlaySound(2, 0, 1), 512);
  audio::TakeAudioEvents();
  EXPECT_EQ(SoundPlaying(-1), 0);
  StopSound(-1);
  EXPECT_EQ(SoundPlaying(512), 1);
  EXPECT_EQ(SoundPlaying(513), 0);  // beyond the slot's one buffer
  EXPECT_EQ(SoundPlaying(4096 * 256), 0);
  EXPECT_EQ(SoundPlaying(INT32_MAX), 0);
  StopSound(INT32_MAX);
  StopSound(9 * 256);  // an empty slot
  EXPECT_EQ(SoundPlaying(512), 1);
  EXPECT_TRUE(audio::TakeAudioEvents().sounds.empty());
  EXPECT_EQ(PlaySound(-4, 0, 1), -1);
  LoadSound(Tone("c.wav", 100), -4, 1);
  EXPECT_EQ(PlaySound(9, 0, 1), -1);
}

TEST_F(HeadlessSound, StopSoundRewindsOneBufferOrTheWholeSlot) {
  LoadSound(Tone("a.wav", 500), 1, 3);
  ASSERT_EQ(PlaySound(1, 0, 1), 256);
  ASSERT_EQ(PlaySound(1, 0, 1), 257);
  ASSERT_EQ(PlaySound(1, 0, 1), 258);
  StopSound(257);
  EXPECT_EQ(SoundPlaying(256), 1);
  EXPECT_EQ(SoundPlaying(257), 0);
  EXPECT_EQ(SoundPlaying(258), 1);
  StopSound(256 + 200);  // not one of its buffers: all of them
  EXPECT_EQ(SoundPlaying(256), 0);
  EXPECT_EQ(SoundPlaying(258), 0);
  // A stopped buffer plays from its start again: its full duration.
  platform::AdvanceVirtualClock(300);
  ASSERT_EQ(PlaySound(1, 0, 1), 258);
  platform::AdvanceVirtualClock(499);
  EXPECT_EQ(SoundPlaying(258), 1);
  StopSound(256);  // buffer 0 is silent: no event for it
  EXPECT_EQ(audio::TakeAudioEvents().sounds,
            (std::vector<std::string>{"play 1", "play 1", "play 1", "stop 1", "stop 1", "play 1"}));
}

TEST_F(HeadlessSound, FreeSlotIsTheLowestEmptyOne) {
  EXPECT_EQ(FreeSoundSlot(), 0);
  LoadSound(Tone("a.wav", 50), 0, 1);
  LoadSound(Tone("b.wav", 50), 1, 1);
  LoadSound(scratch_.path().string() + "/missing.wav", 2, 1);
  LoadSound(Tone("c.wav", 50), 3, 1);
  EXPECT_EQ(FreeSoundSlot(), 2);
  const std::string tone = Tone("d.wav", 5);
  for (int32_t slot = 0; slot < kSoundSlotCount; ++slot)
    LoadSound(tone, slot, 1);
  EXPECT_EQ(FreeSoundSlot(), -1);
}

TEST_F(HeadlessSound, ReloadingASlotStopsWhatItPlayedAndEmptiesItOnFailure) {
  LoadSound(Tone("long.wav", 5000), 4, 1);
  ASSERT_EQ(PlaySound(4, 0, 1), 1024);
  LoadSound(Tone("short.wav", 100), 4, 1);
  EXPECT_EQ(SoundPlaying(1024), 0);
  EXPECT_DOUBLE_EQ(audio::DescribeSoundSlot(4).durationMs, 100.0);
  LoadSound("no such file.wav", 4, 1);
  EXPECT_EQ(audio::DescribeSoundSlot(4).bufferCount, 0);
  EXPECT_EQ(PlaySound(4, 0, 1), -1);
  EXPECT_EQ(audio::TakeAudioEvents().sounds, (std::vector<std::string>{"play 4", "stop 4"}));
}

TEST_F(HeadlessSound, EveryBadWaveLeavesItsSlotEmpty) {
  for (const auto& bad : audio::testing::BadWaveFiles()) {
    LoadSound(Tone("good.wav", 100), 6, 2);
    LoadSound(scratch_.Write("bad.wav", bad.bytes), 6, 2);
    EXPECT_EQ(audio::DescribeSoundSlot(6).bufferCount, 0) << bad.what;
    EXPECT_EQ(PlaySound(6, 0, 1), -1) << bad.what;
  }
}

TEST_F(HeadlessSound, DurationFollowsRateAndBlockAlign) {
  LoadSound(scratch_.Write("8bit.wav", ToneWave(400, 1, 11025, 8)), 1, 1);
  LoadSound(scratch_.Write("six.wav", ToneWave(250, 6, 48000, 16)), 2, 1);
  EXPECT_DOUBLE_EQ(audio::DescribeSoundSlot(1).durationMs, 400.0);
  EXPECT_DOUBLE_EQ(audio::DescribeSoundSlot(2).durationMs, 250.0);
  ASSERT_EQ(PlaySound(2, 0, 1), 512);
  platform::AdvanceVirtualClock(249.9);
  EXPECT_EQ(SoundPlaying(512), 1);
  platform::AdvanceVirtualClock(0.1);
  EXPECT_EQ(SoundPlaying(512), 0);
}

TEST_F(HeadlessSound, LoadsSystemSoundFiles) {
  audio::testing::CheckSystemSoundFiles();
}

TEST_F(HeadlessSound, ShutdownEmptiesEverySlot) {
  LoadSound(Tone("a.wav", 500), 3, 1);
  PlaySound(3, 0, 1);
  audio::ShutdownAudio();
  audio::ShutdownAudio();
  EXPECT_EQ(audio::DescribeSoundSlot(3).bufferCount, 0);
  EXPECT_EQ(PlaySound(3, 0, 1), -1);
  EXPECT_TRUE(audio::TakeAudioEvents().sounds.empty());
}

}  // namespace
}  // namespace zrb
