// Music in a headless run: lengths read from the files, play positions on the virtual clock.
#include <gtest/gtest.h>

#include "audio/support/audio_files.h"
#include "engine/audio/audio_system.h"
#include "engine/audio/music.h"
#include "engine/platform/clock.h"

namespace zrb {
namespace {

using audio::testing::EncodeToneMp3;
using audio::testing::ScratchDir;

class HeadlessMusic : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetHeadless(true);
    ASSERT_TRUE(audio::InitAudio(/*headless=*/true));
  }
  void TearDown() override {
    audio::ShutdownAudio();
    platform::SetHeadless(false);
  }

  // Writes an MP3 tone and returns its path; `lengthMs` receives the length its frames give.
  std::string Piece(const std::string& name, uint32_t ms, double* lengthMs = nullptr) {
    const auto encoded = EncodeToneMp3(ms, 22050, true);
    if (lengthMs) *lengthMs = encoded.DurationMs();
    return scratch_.Write(name, encoded.bytes);
  }

  ScratchDir scratch_;
};

TEST_F(HeadlessMusic, LoopingPieceCountsAsPlayingBetweenItsEndAndItsRestart) {
  double length = 0;
  const std::string theme = Piece("_theme.mp3", 1000, &length);
  PlayMusic(theme, 1);
  EXPECT_EQ(MusicPlaying(), 1);
  EXPECT_DOUBLE_EQ(audio::DescribeMusic().lengthMs, length);
  EXPECT_DOUBLE_EQ(audio::DescribeMusic().loopDeadlineMs, length);
  // Past the end, but no loop step has run yet: the piece still counts as playing.
  platform::AdvanceVirtualClock(length + 250);
  EXPECT_EQ(MusicPlaying(), 1);
  audio::MusicLoopStep();
  EXPECT_EQ(MusicPlaying(), 1);
  EXPECT_DOUBLE_EQ(audio::DescribeMusic().loopDeadlineMs, 2 * length + 250);
  StopMusic();
  EXPECT_EQ(MusicPlaying(), 0);
  const auto events = audio::TakeAudioEvents();
  EXPECT_EQ(events.music, (std::vector<std::string>{"play " + theme + " loop", "stop"}));
}

TEST_F(HeadlessMusic, PiecePlayedOnceEndsWithItsLength) {
  double length = 0;
  PlayMusic(Piece("_dead.mp3", 600, &length), 0);
  EXPECT_EQ(audio::DescribeMusic().loopDeadlineMs, 0.0);
  platform::AdvanceVirtualClock(length - 1);
  audio::MusicLoopStep();
  EXPECT_EQ(MusicPlaying(), 1);
  platform::AdvanceVirtualClock(1);
  EXPECT_EQ(MusicPlaying(), 0);
  audio::MusicLoopStep();  // nothing to restart
  EXPECT_EQ(MusicPlaying(), 0);
}

TEST_F(HeadlessMusic, ShortPieceRestartsNoMoreOftenThanEvery500Ms) {
  double length = 0;
  PlayMusic(Piece("blip.mp3", 300, &length), 1);
  ASSERT_LT(length, 500.0);
  EXPECT_DOUBLE_EQ(audio::DescribeMusic().loopDeadlineMs, 500.0);
  std::vector<double> restarts;
  double deadline = audio::DescribeMusic().loopDeadlineMs;
  for (int frame = 1; frame <= 600; ++frame) {  // ten seconds of frames
    platform::AdvanceVirtualClock(1000.0 / 60.0);
    audio::MusicLoopStep();
    if (audio::DescribeMusic().loopDeadlineMs != deadline) {
      restarts.push_back(platform::NowMs());
      deadline = audio::DescribeMusic().loopDeadlineMs;
      EXPECT_DOUBLE_EQ(deadline, platform::NowMs() + 500.0);
    }
  }
  ASSERT_GE(restarts.size(), 18u);
  EXPECT_GE(restarts.front(), 500.0);
  for (size_t i = 1; i < restarts.size(); ++i)
    EXPECT_GE(restarts[i] - restarts[i - 1], 500.0);
}

TEST_F(HeadlessMusic, MissingOrUnplayableFilesLeaveNothingPlaying) {
  PlayMusic(Piece("ok.mp3", 300), 1);
  PlayMusic(scratch_.path().string() + "/absent.mp3", 1);
  EXPECT_EQ(MusicPlaying(), 0);
  PlayMusic(scratch_.Write("empty.mp3", {}), 1);
  EXPECT_EQ(MusicPlaying(), 0);
  std::vector<uint8_t> garbage(20000);
  for (size_t i = 0; i < garbage.size(); ++i)
    garbage[i] = static_cast<uint8_t>(i * 7 % 251);
  PlayMusic(scratch_.Write("garbage.mp3", garbage), 0);
  EXPECT_EQ(MusicPlaying(), 0);
  PlayMusic("", 1);
  EXPECT_EQ(MusicPlaying(), 0);
  audio::MusicLoopStep();
  const auto events = audio::TakeAudioEvents();
  ASSERT_EQ(events.music.size(), 2u);
  EXPECT_EQ(events.music[1], "stop");
}

}  // namespace
}  // namespace zrb
