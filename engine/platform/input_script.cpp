#include "engine/platform/input_script.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <iterator>

#include "engine/platform/file_calls.h"
#include "engine/platform/joypad.h"
#include "engine/platform/key_codes.h"
#include "engine/platform/unique_fd.h"
#include "engine/values/float_text.h"
#include "engine/values/shown_text.h"

namespace zrb::platform {
namespace {

// Hours of play at a line per frame take a few megabytes.
constexpr size_t kMaxScriptBytes = size_t{16} << 20;
// Paths are quoted whole, up to the longest the system takes, but escaped.
constexpr size_t kShownPathLength = 4096;

std::vector<ScriptEvent> g_script;
size_t g_next = 0;

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
      ++i;
    size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
      ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

bool ParseInt(std::string_view word, int* value) {
  if (!word.empty() && word.front() == '+') word.remove_prefix(1);
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, *value);
  return ec == std::errc() && ptr == end && !word.empty();
}

bool ParseMs(std::string_view word, double* value) {
  const char* end = word.data() + word.size();
  const values::ParsedDouble parsed =
      values::ParseDecimal(word.data(), end, *value, /*allowExponent=*/false);
  return parsed.status == values::ParseStatus::kOk && parsed.end == end && !word.empty() &&
         std::isfinite(*value) && *value >= 0;
}

// The joypad buttons a script names, in the order of ScriptedJoypadButton; "a" and "b" are
// the first two under the names a controller gives them.
constexpr const char* kJoypadButtonNames =
    "button1, button2, a, b, back, start, dpad-up, dpad-down, dpad-left or dpad-right";

int JoypadButtonFromName(std::string_view name) {
  constexpr std::string_view kNames[] = {"button1", "button2",   "back",      "start",
                                         "dpad-up", "dpad-down", "dpad-left", "dpad-right"};
  if (name == "a") return kJoyButton1;
  if (name == "b") return kJoyButton2;
  for (int i = 0; i < static_cast<int>(std::size(kNames)); ++i) {
    if (name == kNames[i]) return kJoyButton1 + i;
  }
  return 0;
}

// A word of the script as a message shows it: short and printable, whatever the file holds.
std::string Quoted(std::string_view word) {
  return "'" + ShownText(word) + "'";
}

// Fills `event` from the words after the time; an empty result means the line is good.
std::string ParseAction(const std::vector<std::string_view>& w, ScriptEvent* event) {
  const std::string_view what = w[1];
  if (what == "close") {
    if (w.size() != 2) return "'close' takes nothing after it";
    event->kind = ScriptEvent::Kind::kClose;
    return {};
  }
  if (what == "focus") {
    if (w.size() != 3 || (w[2] != "lost" && w[2] != "gained"))
      return "expected 'focus lost' or 'focus gained'";
    event->kind = ScriptEvent::Kind::kFocus;
    event->on = w[2] == "gained";
    return {};
  }
  if (what == "key") {
    if (w.size() != 4) return "expected '<ms> key <name|code> down|up'";
    int code = -1;
    if (!ParseInt(w[2], &code)) {
      code = KeyCodeFromName(w[2]);
      if (code < 0) return "unknown key name " + Quoted(w[2]);
    } else if (code < 0 || code > 255) {
      return "key code " + Quoted(w[2]) + " is outside 0..255";
    }
    if (w[3] != "down" && w[3] != "up") return "expected 'down' or 'up', not " + Quoted(w[3]);
    event->kind = ScriptEvent::Kind::kKey;
    event->code = code;
    event->on = w[3] == "down";
    return {};
  }
  if (what == "joy") {
    if (w.size() != 4) return "expected '<ms> joy <axis|button> <value>'";
    int value = 0;
    if (!ParseInt(w[3], &value)) return "joypad value " + Quoted(w[3]) + " is not a whole number";
    if (w[2] == "x" || w[2] == "y") {
      if (value < -32768 || value > 32768) return "joypad axis value outside -32768..32768";
      event->kind = ScriptEvent::Kind::kJoyAxis;
      event->code = w[2] == "x" ? 0 : 1;
    } else if (const int button = JoypadButtonFromName(w[2]); button != 0) {
      if (value != 0 && value != 128) return "joypad button value must be 0 or 128";
      event->kind = ScriptEvent::Kind::kJoyButton;
      event->code = button;
    } else {
      return "unknown joypad input " + Quoted(w[2]) + " (x, y, " + kJoypadButtonNames + ")";
    }
    event->value = value;
    return {};
  }
  return "unknown action " + Quoted(what) + " (key, joy, close or focus)";
}

}  // namespace

bool ParseInputScript(std::string_view text, std::string_view sourceName,
                      std::vector<ScriptEvent>* events, std::string* error) {
  std::vector<ScriptEvent> parsed;
  int lineNumber = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    const size_t hash = line.find('#');
    if (hash != std::string_view::npos) line = line.substr(0, hash);
    const std::vector<std::string_view> words = Words(line);
    if (words.empty()) continue;

    ScriptEvent event;
    event.line = lineNumber;
    std::string problem;
    if (!ParseMs(words[0], &event.ms)) {
      problem = "expected a time in milliseconds, not " + Quoted(words[0]);
    } else if (words.size() < 2) {
      problem = "nothing to do at " + ShownText(words[0]) + " ms";
    } else {
      problem = ParseAction(words, &event);
    }
    if (!problem.empty()) {
      if (error)
        *error = ShownText(sourceName, kShownPathLength) + ":" + std::to_string(lineNumber) + ": " +
                 problem;
      return false;
    }
    parsed.push_back(event);
  }
  std::stable_sort(parsed.begin(), parsed.end(),
                   [](const ScriptEvent& a, const ScriptEvent& b) { return a.ms < b.ms; });
  if (events) *events = std::move(parsed);
  return true;
}

namespace {

// The whole script file. Any file the caller names will do, a pipe too (a script made on the
// fly), but not a folder, and every read error counts: a script cut short would play another
// game than the one asked for. A script longer than any run (an endless pipe, /dev/zero) is
// refused once it passes kMaxScriptBytes.
bool ReadScriptFile(const std::string& path, std::string* content, std::string* error) {
  const auto fail = [&](const std::string& why) {
    if (error)
      *error = ShownText(path, kShownPathLength) + ": cannot read the input script: " + why;
    return false;
  };
  UniqueFd fd = OpenFileForReading(path);
  if (!fd) return fail(errno == EISDIR ? std::string("it is a folder") : std::strerror(errno));
  char buffer[8192];
  for (;;) {
    const ssize_t got = ::read(fd.Get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return fail(std::strerror(errno));
    if (got == 0) return true;
    content->append(buffer, static_cast<size_t>(got));
    if (content->size() > kMaxScriptBytes) return fail("it is larger than 16 MiB");
  }
}

}  // namespace

bool LoadInputScript(const std::string& path, std::string* error) {
  std::string content;
  if (!ReadScriptFile(path, &content, error)) return false;
  std::vector<ScriptEvent> events;
  if (!ParseInputScript(content, path, &events, error)) return false;
  SetInputScript(std::move(events));
  return true;
}

void SetInputScript(std::vector<ScriptEvent> events) {
  g_script = std::move(events);
  g_next = 0;
}

void ClearInputScript() {
  SetInputScript({});
}

bool TakeDueScriptEvent(double nowMs, ScriptEvent* event) {
  if (g_next >= g_script.size() || g_script[g_next].ms > nowMs) return false;
  *event = g_script[g_next++];
  return true;
}

bool InputScriptExhausted() {
  return g_next >= g_script.size();
}

double InputScriptEndMs() {
  return g_script.empty() ? 0.0 : g_script.back().ms;
}

}  // namespace zrb::platform
