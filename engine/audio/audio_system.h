// What the application frame asks of the audio subsystem: set-up, shutdown, the music loop
// step, and the record of what was started and stopped (for the trace).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zrb::audio {

// Opens the output device (22050 Hz, 16-bit stereo when it can) and the 4096 sound slots.
// Headless: no device; sounds and music are tracked on the virtual clock, and the result is
// true. Returns false when the device cannot be opened; the engine then runs without sound:
// every slot stays empty, while music keeps its timing on the clock. Calling it again starts
// over (everything loaded before is released).
bool InitAudio(bool headless);

// Whether sounds are played (and traced): a device, or a headless run's clock.
bool AudioPlaysSounds();
// A replay plays as it was recorded: with sounds on the clock when its run had them (heard or
// not), or without any.
void UseClockAudio(bool playsSounds, const std::string& description);

// Stops the music (its temporary file goes with the archive slot), releases every slot and
// the device. Safe to call more than once.
void ShutdownAudio();

// Restarts a looping piece once the engine clock reaches its loop deadline. Run by ShowScreen
// and by the pause loop.
void MusicLoopStep();

// Sound and music events since the previous call, as short texts for the trace:
// sounds: "play 3" (slot), "stop 7"; music: "play _theme.mp3 loop", "play _dead.mp3 once", "stop".
// Each list keeps at most its newest kMaxAudioEvents entries between two calls.
struct AudioEvents {
  std::vector<std::string> sounds;
  std::vector<std::string> music;
};
inline constexpr size_t kMaxAudioEvents = 1024;
AudioEvents TakeAudioEvents();

// For the start-up log: the driver and format in use, "headless", or "none: <reason>".
std::string DescribeAudio();

// For media checks. A slot's buffer count (0 when empty), the name it was loaded from and
// the duration of its samples.
struct SoundSlotInfo {
  int32_t bufferCount = 0;
  std::string sourceName;
  double durationMs = 0.0;
};
SoundSlotInfo DescribeSoundSlot(int32_t slot);

// The current piece: its name as the game gave it (empty when nothing plays), its length as
// the player reports it, the clock time of its next restart (0 when played once) and the last
// volume it was given (-1 unknown).
struct MusicStatus {
  std::string name;
  double lengthMs = 0.0;
  double loopDeadlineMs = 0.0;
  double volume = -1.0;
};
MusicStatus DescribeMusic();

// A music file looked up as PlayMusic would (through the secondary archive slot, so the
// temporary file of a piece that plays is released) and measured from its bytes.
struct MusicProbe {
  bool found = false;
  bool playable = false;
  double lengthMs = 0.0;
};
MusicProbe ProbeMusic(std::string_view name);

}  // namespace zrb::audio
