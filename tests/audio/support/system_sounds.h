// Spoken channel names that come with ALSA's utilities: WAVE files none of us wrote. Loaded
// into slots from 100 on, each must fill its slot and start playing. Skips the calling test
// where the files are absent.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/audio/audio_system.h"
#include "engine/audio/sound.h"

namespace zrb::audio::testing {

inline void CheckSystemSoundFiles() {
  const std::filesystem::path folder = "/usr/share/sounds/alsa";
  if (!std::filesystem::is_directory(folder)) GTEST_SKIP() << "no " << folder;
  int32_t slot = 100;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (entry.path().extension() != ".wav") continue;
    LoadSound(entry.path().string(), slot, 2);
    const auto info = DescribeSoundSlot(slot);
    EXPECT_EQ(info.bufferCount, 2) << entry.path();
    EXPECT_GT(info.durationMs, 100.0) << entry.path();
    EXPECT_EQ(PlaySound(slot, 0, 1), slot * 256) << entry.path();
    EXPECT_EQ(SoundPlaying(slot * 256), 1) << entry.path();
    ++slot;
  }
  EXPECT_GT(slot, 100) << "no WAVE files in " << folder;
  StopAllSounds();
}

}  // namespace zrb::audio::testing
