#include "engine/audio/audio_system.h"

#include "engine/audio/audio_state.h"
#include "engine/audio/clock_backend.h"
#include "engine/audio/mixer_backend.h"
#include "engine/audio/music.h"
#include "engine/audio/music_length.h"
#include "engine/files/resolver.h"

namespace zrb::audio {

bool InitAudio(bool headless) {
  ShutdownAudio();
  AudioState& state = State();
  if (headless) {
    state.backend = MakeClockBackend(/*playsSounds=*/true, "headless");
    return true;
  }
  std::string failure;
  state.backend = OpenMixerBackend(failure);
  if (state.backend) return true;
  state.backend = MakeClockBackend(/*playsSounds=*/false, "none: " + failure);
  return false;
}

bool AudioPlaysSounds() {
  const auto& backend = State().backend;
  return backend && backend->PlaysSounds();
}

void UseClockAudio(bool playsSounds, const std::string& description) {
  ShutdownAudio();
  State().backend = MakeClockBackend(playsSounds, description);
}

void ShutdownAudio() {
  AudioState& state = State();
  StopMusic();
  for (auto& slot : state.slots)
    EmptySlot(slot);
  state.backend.reset();
  state.soundEvents.Take();
  state.musicEvents.Take();
}

AudioEvents TakeAudioEvents() {
  return {State().soundEvents.Take(), State().musicEvents.Take()};
}

std::string DescribeAudio() {
  const auto& backend = State().backend;
  return backend ? backend->Describe() : "not started";
}

MusicProbe ProbeMusic(std::string_view name) {
  MusicProbe probe;
  std::string resolved;
  probe.found = files::Resolve(files::ArchiveSlot::kSecondary, name, resolved, true);
  if (!probe.found) return probe;
  if (const auto length = MusicLengthOfFile(resolved)) {
    probe.playable = true;
    probe.lengthMs = *length;
  }
  return probe;
}

}  // namespace zrb::audio
