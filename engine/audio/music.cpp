#include "engine/audio/music.h"

#include <cmath>
#include <string>

#include "engine/audio/audio_state.h"
#include "engine/files/resolver.h"
#include "engine/platform/clock.h"

namespace zrb {
namespace {

using audio::MusicState;
using audio::State;

// Pieces shorter than this, or of unknown length, are restarted this often.
constexpr double kShortestLoopMs = 500.0;

double LoopLengthMs(const audio::MusicPiece& piece) {
  const double length = piece.LengthMs();
  return length >= kShortestLoopMs ? length : kShortestLoopMs;  // also not-a-number
}

}  // namespace

void StopMusic() {
  MusicState& music = State().music;
  music.volume = -1.0;
  music.loopDeadlineMs = 0.0;
  if (audio::CloseMusic()) State().musicEvents.Add("stop");
}

void PlayMusic(std::string_view file, int32_t loop) {
  StopMusic();
  std::string resolved;
  if (!files::Resolve(files::ArchiveSlot::kSecondary, file, resolved, /*asMemory=*/false)) return;
  if (!State().backend) return;
  MusicState& music = State().music;
  music.piece = State().backend->OpenMusic(resolved);
  if (!music.piece) return;  // not a piece the player can open: nothing plays
  music.name.assign(file);
  music.file = resolved;
  const double length = LoopLengthMs(*music.piece);
  music.loopDeadlineMs = loop != 0 ? platform::NowMs() + length : 0.0;
  music.piece->PlayFromStart();
  if (music.volume != 1.0) {
    music.volume = 1.0;
    music.piece->SetVolume(1.0);
  }
  State().musicEvents.Add("play " + music.name + (loop != 0 ? " loop" : " once"));
}

int32_t MusicPlaying() {
  const MusicState& music = State().music;
  if (!music.piece) return 0;
  if (music.loopDeadlineMs > 0) return 1;
  return music.piece->PositionBeforeEnd() ? 1 : 0;
}

void SetMusicVolume(double volume) {
  if (std::isnan(volume)) volume = 0.0;
  MusicState& music = State().music;
  if (volume == music.volume) return;
  music.volume = volume;
  if (music.piece) music.piece->SetVolume(volume);
}

}  // namespace zrb

namespace zrb::audio {

void MusicLoopStep() {
  MusicState& music = State().music;
  if (music.loopDeadlineMs <= 0 || !music.piece) return;
  const double now = platform::NowMs();
  if (now < music.loopDeadlineMs) return;
  // The restart follows the clock, not the end of playback.
  music.loopDeadlineMs = now + LoopLengthMs(*music.piece);
  music.piece->PlayFromStart();
}

MusicStatus DescribeMusic() {
  const MusicState& music = State().music;
  MusicStatus status;
  status.volume = music.volume;
  status.loopDeadlineMs = music.loopDeadlineMs;
  if (music.piece) {
    status.name = music.name;
    status.lengthMs = music.piece->LengthMs();
  }
  return status;
}

}  // namespace zrb::audio
