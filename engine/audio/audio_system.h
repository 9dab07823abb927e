// What the application frame asks of the audio subsystem: set-up, shutdown, the music loop
// step, and the record of what was started and stopped (for the trace).
#pragma once

#include <string>
#include <vector>

namespace zrb::audio {

// Opens the output device (22050 Hz, 16-bit stereo when it can) and the 4096 sound slots.
// Headless: no device; sounds and music are tracked on the virtual clock. Returns false when
// the device cannot be opened; the engine then runs without sound.
bool InitAudio(bool headless);

// Stops the music (its temporary file goes with the archive slot), releases every slot and
// the device. Safe to call more than once.
void ShutdownAudio();

// Restarts a looping piece once the engine clock reaches its loop deadline. Run by ShowScreen
// and by the pause loop.
void MusicLoopStep();

// Sound and music events since the previous call, as short texts for the trace:
// sounds: "play 3" (slot), "stop 7"; music: "play _theme.mp3 loop", "play _dead.mp3 once", "stop".
struct AudioEvents {
  std::vector<std::string> sounds;
  std::vector<std::string> music;
};
AudioEvents TakeAudioEvents();

}  // namespace zrb::audio
