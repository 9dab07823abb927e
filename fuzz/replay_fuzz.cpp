// The replay reader on arbitrary text, and playing the first samples of what it accepted.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/platform/replay.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  namespace p = zrb::platform;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  p::Replay replay;
  std::string error;
  if (!p::ParseReplay(text, "fuzz.rep", &replay, &error)) {
    FUZZ_CHECK(error.rfind("fuzz.rep", 0) == 0 && error.find(": ") != std::string::npos);
    return 0;
  }
  FUZZ_CHECK(!replay.program.empty() && !replay.version.empty());
  for (const auto& file : replay.files)
    FUZZ_CHECK(!file.first.empty() && file.first.find('/') == std::string::npos &&
               file.second.size() <= 4096);
  for (size_t i = 0; i < replay.answers.size(); ++i) {
    FUZZ_CHECK(std::isfinite(replay.answers[i].value) && replay.answers[i].position >= 0);
    if (i > 0) FUZZ_CHECK(replay.answers[i - 1].position <= replay.answers[i].position);
  }
  // The first samples deliver only what is due, in order, and answer what was recorded. Each
  // pass counts three samples (the pump and the two answers), so its pump is at 3 * pass + 1.
  const size_t events = replay.events.size();
  p::StartPlayback(std::move(replay));
  double last = -1;
  size_t delivered = 0;
  for (int sample = 0; sample < 64; ++sample) {
    p::BeginSample();
    p::ScriptEvent event;
    while (p::TakeDueReplayEvent(&event)) {
      FUZZ_CHECK(event.ms >= last && event.ms <= 3.0 * sample + 1);
      last = event.ms;
      ++delivered;
    }
    p::EndSample();
    FUZZ_CHECK(std::isfinite(p::AnswerForReplay(p::ReplayAnswerKind::kTime, 0, 1.0)));
    p::AnswerForReplay(p::ReplayAnswerKind::kSound, sample, 0);
    p::StoppedSoundAnswer(sample, false);  // counts no sample
  }
  FUZZ_CHECK(delivered <= events);
  p::StopReplay();
  return 0;
}
