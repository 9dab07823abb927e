#include "engine/audio/audio_state.h"

namespace zrb::audio {

void EventList::Add(std::string event) {
  if (entries_.size() == kMaxAudioEvents) entries_.pop_front();
  entries_.push_back(std::move(event));
}

std::vector<std::string> EventList::Take() {
  std::vector<std::string> taken(std::make_move_iterator(entries_.begin()),
                                 std::make_move_iterator(entries_.end()));
  entries_.clear();
  return taken;
}

AudioState& State() {
  static AudioState state;
  return state;
}

bool EmptySlot(SoundSlot& slot) {
  bool wasSounding = false;
  for (auto& buffer : slot.buffers) {
    if (buffer->IsPlaying()) wasSounding = true;
    buffer->Stop();
  }
  slot.buffers.clear();
  slot.nextBuffer = 0;
  slot.sourceName.clear();
  slot.durationMs = 0.0;
  return wasSounding;
}

bool CloseMusic() {
  MusicState& music = State().music;
  if (!music.piece) return false;
  music.piece->Stop();
  music.piece.reset();
  music.name.clear();
  music.file.clear();
  return true;
}

}  // namespace zrb::audio
