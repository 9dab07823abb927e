// The input-script parser on arbitrary text, and delivering what it accepted.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "engine/platform/input_script.h"
#include "fuzz/fuzz_support.h"

namespace {

using zrb::platform::ScriptEvent;

void CheckEvent(const ScriptEvent& event, int lineCount) {
  FUZZ_CHECK(std::isfinite(event.ms) && event.ms >= 0);
  FUZZ_CHECK(event.line >= 1 && event.line <= lineCount);
  switch (event.kind) {
    case ScriptEvent::Kind::kKey:
      FUZZ_CHECK(event.code >= 0 && event.code <= 255);
      break;
    case ScriptEvent::Kind::kJoyAxis:
      FUZZ_CHECK((event.code == 0 || event.code == 1) && event.value >= -32768 &&
                 event.value <= 32768);
      break;
    case ScriptEvent::Kind::kJoyButton:
      FUZZ_CHECK((event.code == 1 || event.code == 2) && (event.value == 0 || event.value == 128));
      break;
    case ScriptEvent::Kind::kClose:
    case ScriptEvent::Kind::kFocus:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  int lineCount = 1;
  for (char c : text)
    lineCount += c == '\n';

  std::vector<ScriptEvent> events;
  std::string error;
  if (!zrb::platform::ParseInputScript(text, "fuzz.txt", &events, &error)) {
    // "<source>:<line>: <what is wrong>"
    FUZZ_CHECK(error.rfind("fuzz.txt:", 0) == 0);
    const int line = std::atoi(error.c_str() + 9);
    FUZZ_CHECK(line >= 1 && line <= lineCount);
    FUZZ_CHECK(error.find(": ", 9) != std::string::npos);
    return 0;
  }
  for (size_t i = 0; i < events.size(); ++i) {
    CheckEvent(events[i], lineCount);
    if (i > 0) {
      // Ordered by time, lines of the same time in file order.
      FUZZ_CHECK(events[i - 1].ms <= events[i].ms);
      if (events[i - 1].ms == events[i].ms) FUZZ_CHECK(events[i - 1].line < events[i].line);
    }
  }

  // Each event is delivered once, when its time has come, and in order.
  zrb::platform::SetInputScript(events);
  ScriptEvent taken;
  size_t delivered = 0;
  const double halfway = events.empty() ? 0 : events[events.size() / 2].ms;
  while (zrb::platform::TakeDueScriptEvent(halfway, &taken)) {
    FUZZ_CHECK(taken.ms <= halfway && taken.line == events[delivered].line);
    ++delivered;
  }
  FUZZ_CHECK(delivered >= events.size() / 2 + (events.empty() ? 0 : 1));
  while (zrb::platform::TakeDueScriptEvent(std::numeric_limits<double>::infinity(), &taken)) {
    FUZZ_CHECK(taken.line == events[delivered].line);
    ++delivered;
  }
  FUZZ_CHECK(delivered == events.size() && zrb::platform::InputScriptExhausted());
  zrb::platform::ClearInputScript();
  return 0;
}
