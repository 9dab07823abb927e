#include "engine/audio/music.h"

#include <cmath>
#include <cstdio>
#include <set>
#include <string>

#include "engine/audio/audio_state.h"
#include "engine/files/resolver.h"
#include "engine/platform/clock.h"
#include "engine/platform/log_file.h"
#include "engine/platform/replay.h"

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

// A piece that cannot be played is a trace event each time it is asked for, and one line on
// standard error and in the log per name: a tune that is silently absent looks like a bug.
void ReportUnplayable(std::string_view name, const std::string& why) {
  State().musicEvents.Add("fail " + std::string(name));
  static std::set<std::string, std::less<>> reported;
  if (!reported.emplace(name).second) return;
  const std::string text = "music " + std::string(name) + " not played: " + why;
  std::fprintf(stderr, "%s\n", text.c_str());
  platform::AppendLogLine(text);
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
  if (!State().backend) return;
  std::string resolved;
  if (!files::Resolve(files::ArchiveSlot::kSecondary, file, resolved, /*asMemory=*/true)) {
    if (!file.empty()) ReportUnplayable(file, "no such file beside the game or in its archive");
    return;
  }
  files::MemoryBlock bytes = files::ShareResolvedFile(resolved);
  if (!bytes) {
    ReportUnplayable(file, "it cannot be read");
    return;
  }
  std::string problem;
  std::unique_ptr<audio::MusicPiece> piece = State().backend->OpenMusic(std::move(bytes), &problem);
  if (!piece) {
    ReportUnplayable(file, problem);
    return;
  }
  MusicState& music = State().music;
  music.piece = std::move(piece);
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
  // A piece played once ends with real time (or the device): a replay keeps the answer.
  const int32_t playing = music.piece->PositionBeforeEnd() ? 1 : 0;
  return static_cast<int32_t>(
      platform::AnswerForReplay(platform::ReplayAnswerKind::kMusic, 0, playing));
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
