// The real output through SDL_mixer. SDL's "dummy" driver is a real device as far as the
// mixer goes (it takes samples in real time and discards them), so these tests run on
// machines without a sound card; they skip when even that cannot be opened.
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "audio/support/audio_files.h"
#include "audio/support/system_sounds.h"
#include "engine/audio/audio_system.h"
#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "engine/platform/clock.h"
#include "support/temp_folder.h"

namespace zrb {
namespace {

using namespace audio::testing;
using zrb::testing::TempFolder;
using Clock = std::chrono::steady_clock;

// Polls until `done` holds or `limitMs` passes; returns the milliseconds it took, or -1.
double MsUntil(const std::function<bool()>& done, double limitMs = 5000) {
  const auto start = Clock::now();
  for (;;) {
    const double elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    if (done()) return elapsed;
    if (elapsed > limitMs) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

class MixerOutput : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetHeadless(false);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!audio::InitAudio(/*headless=*/false)) {
      GTEST_SKIP() << "no audio output: " << audio::DescribeAudio();
    }
  }
  void TearDown() override {
    audio::ShutdownAudio();
    unsetenv("SDL_AUDIODRIVER");
  }

  TempFolder scratch_;
};

TEST_F(MixerOutput, OneBufferSoundsForItsDurationThenPlaysAgain) {
  EXPECT_EQ(audio::DescribeAudio().rfind("dummy 22050 Hz 16-bit 2 ch", 0), 0u)
      << audio::DescribeAudio();
  LoadSound(scratch_.Write("ding.wav", ToneWave(300, 1, 22050, 16)), 3, 1);
  ASSERT_EQ(PlaySound(3, 0, 1), 768);
  EXPECT_EQ(PlaySound(3, 0, 1), -1);
  EXPECT_EQ(SoundPlaying(768), 1);
  const double took = MsUntil([] { return SoundPlaying(768) == 0; });
  EXPECT_GT(took, 150.0);
  EXPECT_EQ(PlaySound(3, 0.5, 0.5), 768);
  StopSound(768);
  EXPECT_EQ(SoundPlaying(768), 0);
  EXPECT_EQ(audio::TakeAudioEvents().sounds,
            (std::vector<std::string>{"play 3", "play 3", "stop 3"}));
  // A slot past the table is its last slot.
  LoadSound(scratch_.Path("ding.wav"), kSoundSlotCount, 1);
  EXPECT_EQ(PlaySound(kSoundSlotCount - 1, 0, 1), (kSoundSlotCount - 1) * 256);
}

TEST_F(MixerOutput, DuplicatedBuffersPlayOnTheirOwnChannels) {
  LoadSound(scratch_.Write("spray.wav", ToneWave(2000, 2, 22050, 16)), 7, 4);
  std::vector<int32_t> channels;
  for (int i = 0; i < 5; ++i)
    channels.push_back(PlaySound(7, -3, 2));
  EXPECT_EQ(channels, (std::vector<int32_t>{1792, 1793, 1794, 1795, 1792}));
  for (int32_t channel = 1792; channel < 1796; ++channel)
    EXPECT_EQ(SoundPlaying(channel), 1);
  StopSound(1793);
  EXPECT_EQ(SoundPlaying(1793), 0);
  EXPECT_EQ(SoundPlaying(1794), 1);
  StopAllSounds();
  for (int32_t channel = 1792; channel < 1796; ++channel)
    EXPECT_EQ(SoundPlaying(channel), 0);
}

TEST_F(MixerOutput, MusicPlayedOnceEndsAndLoopingMusicRestarts) {
  const auto encoded = EncodeToneMp3(400, 22050, true);
  const std::string path = scratch_.Write("_dead.mp3", encoded.bytes);
  PlayMusic(path, 0);
  EXPECT_EQ(MusicPlaying(), 1);
  EXPECT_NEAR(audio::DescribeMusic().lengthMs, 400.0, 100.0);
  EXPECT_GE(MsUntil([] { return MusicPlaying() == 0; }), 200.0);

  PlayMusic(path, 1);
  SetMusicVolume(0);
  EXPECT_EQ(Mix_VolumeMusic(-1), 0);
  SetMusicVolume(0.5);
  EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME / 2);
  const double deadline = audio::DescribeMusic().loopDeadlineMs;
  EXPECT_GE(deadline, platform::NowMs());
  EXPECT_GE(MsUntil([&] {
              audio::MusicLoopStep();
              return audio::DescribeMusic().loopDeadlineMs != deadline;
            }),
            0.0);
  EXPECT_EQ(MusicPlaying(), 1);
  PlayMusic(path, 1);  // the next piece starts at full strength again
  EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME);
  StopMusic();
  EXPECT_EQ(MusicPlaying(), 0);
  PlayMusic(scratch_.Write("garbage.mp3", std::vector<uint8_t>(3000, 0x41)), 1);
  EXPECT_EQ(MusicPlaying(), 0);
}

// WAVE files another program wrote (the system's own sounds, where it has them).
TEST_F(MixerOutput, LoadsAndPlaysSystemSoundFiles) {
  audio::testing::CheckSystemSoundFiles();
}

TEST(AudioWithoutDevice, EffectsStaySilentAndMusicKeepsItsTiming) {
  platform::SetHeadless(false);
  setenv("SDL_AUDIODRIVER", "tundrel-no-such-driver", 1);
  EXPECT_FALSE(audio::InitAudio(/*headless=*/false));
  unsetenv("SDL_AUDIODRIVER");
  EXPECT_EQ(audio::DescribeAudio().rfind("none: ", 0), 0u) << audio::DescribeAudio();
  TempFolder scratch;
  LoadSound(scratch.Write("ding.wav", ToneWave(300, 1, 22050, 16)), 3, 1);
  EXPECT_EQ(audio::DescribeSoundSlot(3).bufferCount, 0);
  EXPECT_EQ(PlaySound(3, 0, 1), -1);
  EXPECT_EQ(FreeSoundSlot(), 0);
  const std::string theme = scratch.Write("_theme.mp3", EncodeToneMp3(300, 22050, true).bytes);
  PlayMusic(theme, 1);
  EXPECT_EQ(MusicPlaying(), 1);
  StopMusic();
  const auto events = audio::TakeAudioEvents();
  EXPECT_TRUE(events.sounds.empty());
  EXPECT_EQ(events.music, (std::vector<std::string>{"play " + theme + " loop", "stop"}));
  audio::ShutdownAudio();
}

}  // namespace
}  // namespace zrb
