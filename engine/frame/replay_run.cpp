// A run's replay: played when one was given, else recorded (every real run, any with
// --record) and handed on at the end.
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/audio/audio_system.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/frame_state.h"
#include "engine/platform/file_access.h"
#include "engine/platform/replay.h"

namespace zrb::frame {

void StartReplay(uint32_t seed) {
  FrameState& state = State();
  if (state.pendingReplay) {
    platform::StartPlayback(std::move(*state.pendingReplay));
    state.pendingReplay.reset();
    return;
  }
  if (state.options.headless && state.options.recordPath.empty()) {
    platform::StopReplay();
    return;
  }
  platform::StartRecording(state.program.name ? state.program.name : "zrb",
                           state.program.version ? state.program.version : "", seed,
                           !state.options.headless);
}

void MatchReplaySound() {
  const bool playing = audio::AudioPlaysSounds();
  if (platform::CurrentReplayMode() == platform::ReplayMode::kRecording) {
    platform::NoteReplaySound(playing);
  } else if (platform::PlayingReplay() && platform::ReplayHadSound() != playing) {
    // Without the same sounds the game would ask other questions of them than it did.
    audio::UseClockAudio(platform::ReplayHadSound(), platform::ReplayHadSound()
                                                         ? "clock: the replay's sounds, unheard"
                                                         : "none: the replay was recorded without");
  }
}

namespace {

// Hands the replay recorded up to now to --record's file and to the program's keepReplay.
void HandOnReplay() {
  FrameState& state = State();
  const std::string text = platform::RecordedReplayText();
  const char* name = state.program.name ? state.program.name : "zrb";
  if (text.empty()) {
    std::fprintf(stderr, "%s: this game's replay outgrew its bound and is not kept\n", name);
    AppendLogLine("Replay not kept: larger than any replay");
    return;
  }
  if (!state.options.recordPath.empty()) {
    std::string problem;
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    if (!platform::ReplaceFile(state.options.recordPath, {bytes, text.size()}, &problem)) {
      std::fprintf(stderr, "%s: --record %s: %s\n", name, state.options.recordPath.c_str(),
                   problem.c_str());
      AppendLogLine("Replay not kept: " + state.options.recordPath + ": " + problem);
    }
  }
  if (state.program.keepReplay) state.program.keepReplay(text);
}

}  // namespace

void KeepReplay() {
  if (platform::CurrentReplayMode() != platform::ReplayMode::kRecording) return;
  HandOnReplay();
  platform::StopReplay();
}

}  // namespace zrb::frame

namespace zrb {

void KeepReplaySoFar() {
  if (platform::CurrentReplayMode() == platform::ReplayMode::kRecording) frame::HandOnReplay();
}

}  // namespace zrb
