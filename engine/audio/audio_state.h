// The audio subsystem's single state, shared by the sound, music and system units.
#pragma once

#include <array>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "engine/audio/audio_backend.h"
#include "engine/audio/audio_system.h"
#include "engine/audio/sound.h"

namespace zrb::audio {

struct SoundSlot {
  std::vector<std::unique_ptr<Voice>> buffers;  // empty slot: none
  int32_t nextBuffer = 0;
  std::string sourceName;
  double durationMs = 0.0;
};

struct MusicState {
  std::unique_ptr<MusicPiece> piece;  // none when nothing plays
  std::string name;                   // as the game named it, for the trace
  std::string file;                   // as resolved
  double loopDeadlineMs = 0.0;        // 0: played once, or nothing plays
  double volume = -1.0;               // last volume given to the piece; -1 unknown
};

// Keeps the newest entries when nobody collects them.
class EventList {
 public:
  void Add(std::string event);
  std::vector<std::string> Take();

 private:
  std::deque<std::string> entries_;
};

struct AudioState {
  std::unique_ptr<AudioBackend> backend;  // none before InitAudio
  std::array<SoundSlot, kSoundSlotCount> slots;
  MusicState music;
  EventList soundEvents;
  EventList musicEvents;
};

AudioState& State();

// Stops and releases every buffer of the slot. True when one of them was sounding.
bool EmptySlot(SoundSlot& slot);

// Stops and closes the current piece without touching the volume or deadline rules.
// True when a piece was open.
bool CloseMusic();

}  // namespace zrb::audio
