#include "engine/platform/replay.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <iterator>
#include <map>
#include <optional>
#include <system_error>

#include "engine/platform/file_access.h"
#include "engine/platform/joypad.h"
#include "engine/platform/small_file.h"
#include "engine/values/float_text.h"

namespace zrb::platform {
namespace {

constexpr int kFormat = 1;
// Positions stay whole numbers (or halves) a double holds exactly.
constexpr double kLargestPosition = 9.0e15;
constexpr size_t kMaxFileBytes = 4096;
constexpr size_t kMaxFileName = 64;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r'))
      ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r')
      ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

// Numbers are written in their shortest exact form, so they read back to the same double
// (through the engine's own text rules: the browser's C++ library has no floating from_chars).
bool ParseNumber(std::string_view word, double* value) {
  const char* end = word.data() + word.size();
  const values::ParsedDouble parsed =
      values::ParseDecimal(word.data(), end, *value, /*allowExponent=*/true);
  return parsed.status == values::ParseStatus::kOk && parsed.end == end && !word.empty() &&
         std::isfinite(*value);
}

bool ParsePosition(std::string_view word, double* value) {
  return ParseNumber(word, value) && *value >= 0 && *value <= kLargestPosition;
}

bool ParseWhole(std::string_view word, long long low, long long high, long long* value) {
  const char* end = word.data() + word.size();
  auto [ptr, ec] = std::from_chars(word.data(), end, *value);
  return ec == std::errc() && ptr == end && !word.empty() && *value >= low && *value <= high;
}

bool ParseHex(std::string_view hex, std::vector<uint8_t>* bytes) {
  if (hex.size() % 2 != 0 || hex.size() / 2 > kMaxFileBytes) return false;
  bytes->clear();
  for (size_t i = 0; i < hex.size(); i += 2) {
    unsigned value = 0;
    auto [ptr, ec] = std::from_chars(hex.data() + i, hex.data() + i + 2, value, 16);
    if (ec != std::errc() || ptr != hex.data() + i + 2) return false;
    bytes->push_back(static_cast<uint8_t>(value));
  }
  return true;
}

bool GoodFileName(std::string_view name) {
  if (name.empty() || name.size() > kMaxFileName || name == "." || name == "..") return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
  });
}

// One "#" line of the header; an empty result means it is good (or a plain comment).
std::string ParseDirective(std::string_view line, bool* sawFormat, Replay* replay) {
  const std::vector<std::string_view> w = Words(line);
  const std::string_view what = w.empty() ? std::string_view() : w[0];
  if (what == "#replay") {
    long long format = 0;
    if (w.size() != 2 || !ParseWhole(w[1], 0, 1000000, &format) || format != kFormat)
      return "a replay of another format (this program reads '#replay 1')";
    *sawFormat = true;
    return {};
  }
  if (!*sawFormat) return {};  // comments above the header
  if (what == "#run") {
    if (w.size() < 2) return "'#run' names no program";
    replay->program = std::string(w[1]);
  } else if (what == "#version") {
    replay->version = std::string(Trim(Trim(line).substr(what.size())));
  } else if (what == "#clock") {
    if (w.size() != 2 || (w[1] != "real" && w[1] != "virtual"))
      return "bad '#clock' line (real or virtual)";
    replay->realClock = w[1] == "real";
  } else if (what == "#sound") {
    if (w.size() != 2 || w[1] != "none") return "bad '#sound' line ('#sound none')";
    replay->sound = false;
  } else if (what == "#seed") {
    long long seed = 0;
    if (w.size() != 2 || !ParseWhole(w[1], 0, UINT32_MAX, &seed)) return "bad '#seed' line";
    replay->seed = static_cast<uint32_t>(seed);
  } else if (what == "#file") {
    std::vector<uint8_t> bytes;
    if (w.size() != 3 || !GoodFileName(w[1]) || !ParseHex(w[2], &bytes))
      return "bad '#file' line (a plain name and at most 4096 bytes in hex)";
    for (const auto& file : replay->files) {
      if (file.first == w[1]) return "the file " + std::string(w[1]) + " is given twice";
    }
    replay->files.emplace_back(std::string(w[1]), std::move(bytes));
  }
  return {};
}

// A line of the answers' kinds or the end; false when it is an input line.
bool IsAnswerLine(const std::vector<std::string_view>& w) {
  return w.size() >= 2 && (w[1] == "time" || w[1] == "sound" || w[1] == "music" ||
                           w[1] == "stopped" || w[1] == "end");
}

std::string ParseAnswer(const std::vector<std::string_view>& w, Replay* replay) {
  double position = 0;
  if (!ParsePosition(w[0], &position)) return "bad position '" + std::string(w[0]) + "'";
  ReplayAnswer answer;
  answer.position = position;
  long long whole = 0;
  if (w[1] == "end") {
    if (w.size() != 2) return "'end' takes nothing after it";
    replay->endPosition = position;
    return {};
  }
  if (w[1] == "time") {
    if (w.size() != 3 || !ParseNumber(w[2], &answer.value)) return "expected '<pos> time <ms>'";
    answer.kind = ReplayAnswerKind::kTime;
  } else if (w[1] == "sound" || w[1] == "stopped") {
    if (w.size() != 4 || !ParseWhole(w[2], INT32_MIN, INT32_MAX, &whole))
      return "expected '<pos> " + std::string(w[1]) + " <channel> 0|1'";
    answer.kind = w[1] == "sound" ? ReplayAnswerKind::kSound : ReplayAnswerKind::kStopped;
    answer.channel = static_cast<int>(whole);
    if (!ParseWhole(w[3], 0, 1, &whole)) return "a sound's answer is 0 or 1";
    answer.value = static_cast<double>(whole);
  } else {
    if (w.size() != 3 || !ParseWhole(w[2], 0, 1, &whole)) return "expected '<pos> music 0|1'";
    answer.kind = ReplayAnswerKind::kMusic;
    answer.value = static_cast<double>(whole);
  }
  (answer.kind == ReplayAnswerKind::kStopped ? replay->stops : replay->answers).push_back(answer);
  return {};
}

}  // namespace

bool LooksLikeReplay(std::string_view text) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.empty()) continue;
    if (line.rfind("#replay", 0) == 0 && (line.size() == 7 || line[7] == ' ' || line[7] == '\t'))
      return true;
    if (line.front() != '#') return false;
  }
  return false;
}

bool ParseReplay(std::string_view text, std::string_view source, Replay* replay,
                 std::string* error) {
  const auto fail = [&](int line, const std::string& what) {
    if (error) {
      *error = std::string(source) + (line > 0 ? ":" + std::to_string(line) : std::string()) +
               ": " + what;
    }
    return false;
  };
  if (text.size() > kMaxReplayBytes) return fail(0, "larger than any replay (64 MiB)");
  Replay parsed;
  bool sawFormat = false;
  // The input lines go to the script parser in place, every other line blanked, so that its
  // messages name the file's own line numbers.
  std::string script;
  script.reserve(text.size());
  int lineNumber = 0;
  size_t pos = 0;
  while (pos <= text.size()) {
    size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    ++lineNumber;
    const std::string_view trimmed = Trim(line);
    std::string problem;
    bool input = false;
    if (!trimmed.empty() && trimmed.front() == '#') {
      problem = ParseDirective(trimmed, &sawFormat, &parsed);
    } else {
      const size_t hash = line.find('#');
      const std::vector<std::string_view> w =
          Words(hash == std::string_view::npos ? line : line.substr(0, hash));
      if (!w.empty() && !sawFormat) {
        problem = "not a replay (no '#replay 1' line before its first input line)";
      } else if (IsAnswerLine(w)) {
        problem = ParseAnswer(w, &parsed);
      } else {
        input = !w.empty();
      }
    }
    if (!problem.empty()) return fail(lineNumber, problem);
    if (input) script.append(line);
    script.push_back('\n');
  }
  if (!sawFormat) return fail(0, "not a replay (no '#replay 1' line)");
  if (parsed.program.empty()) return fail(0, "no '#run' line naming the program");
  if (parsed.version.empty()) return fail(0, "no '#version' line");
  if (!ParseInputScript(script, source, &parsed.events, error)) return false;
  for (const ScriptEvent& event : parsed.events) {
    if (event.ms > kLargestPosition) return fail(event.line, "position out of range");
  }
  for (auto* list : {&parsed.answers, &parsed.stops}) {
    std::stable_sort(list->begin(), list->end(), [](const ReplayAnswer& a, const ReplayAnswer& b) {
      return a.position < b.position;
    });
  }
  if (replay) *replay = std::move(parsed);
  return true;
}

bool IsReplayFile(const std::string& path) {
  if (OpenRegularFile(path).outcome != OpenOutcome::kOpened) return false;
  const std::optional<std::string> content = ReadSmallFile(path, kMaxReplayBytes);
  return content && LooksLikeReplay(*content);
}

bool LoadReplayFile(const std::string& path, std::string_view program, std::string_view version,
                    Replay* replay, std::string* error) {
  const auto fail = [&](const std::string& why) {
    if (error) *error = path + ": " + why;
    return false;
  };
  const OpenedFile opened = OpenRegularFile(path);
  if (opened.outcome == OpenOutcome::kMissing) return fail("cannot read the replay: no such file");
  if (opened.outcome != OpenOutcome::kOpened)
    return fail("cannot read the replay: " + opened.problem);
  bool truncated = false;
  const std::optional<std::string> text = ReadSmallFile(path, kMaxReplayBytes, &truncated);
  if (!text) return fail("cannot read the replay");
  if (truncated) return fail("larger than any replay (64 MiB)");
  Replay parsed;
  if (!ParseReplay(*text, path, &parsed, error)) return false;
  if (parsed.program != program) {
    return fail("a replay of " + parsed.program + ", not of " + std::string(program));
  }
  if (parsed.version != version) {
    return fail("recorded by version " + parsed.version + "; this is version " +
                std::string(version) + ", which cannot replay it exactly");
  }
  if (replay) *replay = std::move(parsed);
  return true;
}

namespace {

struct Answers {
  bool haveTime = false;
  double time = 0;
  int music = -1;
  std::map<int, int> sounds;
  std::map<int, int> stopped;
};

struct ReplayState {
  ReplayMode mode = ReplayMode::kOff;
  uint64_t index = 0;
  bool inSample = false;
  // Recording.
  std::string program, version;
  uint32_t seed = 0;
  bool realClock = true;
  bool sound = true;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> files;
  std::string body;
  bool overflowed = false;
  // Recording: the answers last written; playing: the answers in force.
  Answers answers;
  // Playing.
  Replay replay;
  size_t nextEvent = 0;
  size_t nextAnswer = 0;
  // Both: the stops of a sound so far; playing: the next recorded stop's answer.
  uint64_t stopCount = 0;
  size_t nextStop = 0;
};

ReplayState& State() {
  static ReplayState state;
  return state;
}

double Position() {
  const ReplayState& state = State();
  return static_cast<double>(state.index) + (state.inSample ? 0.0 : 0.5);
}

std::string PositionText(double position) {
  const auto whole = static_cast<uint64_t>(position);
  return std::to_string(whole) + (position != static_cast<double>(whole) ? ".5" : "");
}

std::string NumberText(double value) {
  char buffer[40];
  char* end = values::FormatShortest(buffer, buffer + sizeof buffer, value);
  return end ? std::string(buffer, static_cast<size_t>(end - buffer)) : std::string("0");
}

void Append(double position, const std::string& what) {
  ReplayState& state = State();
  if (state.overflowed) return;
  std::string line = PositionText(position) + " " + what + "\n";
  // Room is left for the header and the end line.
  if (state.body.size() + line.size() > kMaxReplayBytes - 2 * kMaxFileBytes * 4) {
    state.overflowed = true;
    return;
  }
  state.body += line;
}

std::string ActionText(const ScriptEvent& event) {
  static constexpr const char* kButtons[] = {"button1", "button2",   "back",      "start",
                                             "dpad-up", "dpad-down", "dpad-left", "dpad-right"};
  switch (event.kind) {
    case ScriptEvent::Kind::kKey:
      return "key " + std::to_string(event.code) + (event.on ? " down" : " up");
    case ScriptEvent::Kind::kJoyAxis:
      return std::string("joy ") + (event.code == 0 ? "x " : "y ") + std::to_string(event.value);
    case ScriptEvent::Kind::kJoyButton:
      if (event.code < kJoyButton1 || event.code > kJoyDpadRight) return {};
      return std::string("joy ") + kButtons[event.code - kJoyButton1] + " " +
             std::to_string(event.value);
    case ScriptEvent::Kind::kClose:
      return "close";
    case ScriptEvent::Kind::kFocus:
      return event.on ? "focus gained" : "focus lost";
  }
  return {};
}

void Record(double position, const ScriptEvent& event) {
  if (State().mode != ReplayMode::kRecording) return;
  const std::string action = ActionText(event);
  if (!action.empty()) Append(position, action);
}

}  // namespace

ReplayMode CurrentReplayMode() {
  return State().mode;
}

void StartRecording(std::string_view program, std::string_view version, uint32_t seed,
                    bool realClock) {
  ReplayState& state = State();
  state = ReplayState{};
  state.realClock = realClock;
  state.mode = ReplayMode::kRecording;
  state.program = std::string(program);
  state.version = std::string(version);
  state.seed = seed;
}

void StartPlayback(Replay replay) {
  ReplayState& state = State();
  state = ReplayState{};
  state.mode = ReplayMode::kPlaying;
  state.replay = std::move(replay);
}

void StopReplay() {
  State() = ReplayState{};
}

void BeginSample() {
  ReplayState& state = State();
  ++state.index;
  state.inSample = true;
}

void EndSample() {
  State().inSample = false;
}

void CountStep() {
  ReplayState& state = State();
  ++state.index;
  state.inSample = false;
}

void RecordInput(const ScriptEvent& event) {
  Record(Position(), event);
}

void RecordInputAtSample(const ScriptEvent& event) {
  Record(static_cast<double>(State().index), event);
}

double AnswerForReplay(ReplayAnswerKind kind, int channel, double live) {
  ReplayState& state = State();
  if (state.mode == ReplayMode::kOff) return live;
  CountStep();
  const double position = static_cast<double>(state.index);
  Answers& answers = state.answers;
  // On the virtual clock every answer follows from the samples themselves.
  if (state.mode == ReplayMode::kRecording ? !state.realClock : !state.replay.realClock)
    return live;
  if (state.mode == ReplayMode::kRecording) {
    switch (kind) {
      case ReplayAnswerKind::kTime:
        if (answers.haveTime && answers.time == live) return live;
        answers.haveTime = true;
        answers.time = live;
        Append(position, "time " + NumberText(live));
        break;
      case ReplayAnswerKind::kSound:
      case ReplayAnswerKind::kStopped: {
        const int value = live != 0 ? 1 : 0;
        auto found = answers.sounds.find(channel);
        if (found != answers.sounds.end() && found->second == value) return live;
        answers.sounds[channel] = value;
        Append(position, "sound " + std::to_string(channel) + " " + std::to_string(value));
        break;
      }
      case ReplayAnswerKind::kMusic: {
        const int value = live != 0 ? 1 : 0;
        if (answers.music == value) return live;
        answers.music = value;
        Append(position, "music " + std::to_string(value));
        break;
      }
    }
    return live;
  }
  const std::vector<ReplayAnswer>& recorded = state.replay.answers;
  while (state.nextAnswer < recorded.size() && recorded[state.nextAnswer].position <= position) {
    const ReplayAnswer& answer = recorded[state.nextAnswer++];
    switch (answer.kind) {
      case ReplayAnswerKind::kTime:
        answers.haveTime = true;
        answers.time = answer.value;
        break;
      case ReplayAnswerKind::kSound:
      case ReplayAnswerKind::kStopped:
        answers.sounds[answer.channel] = static_cast<int>(answer.value);
        break;
      case ReplayAnswerKind::kMusic:
        answers.music = static_cast<int>(answer.value);
        break;
    }
  }
  switch (kind) {
    case ReplayAnswerKind::kTime:
      return answers.haveTime ? answers.time : live;
    case ReplayAnswerKind::kSound:
    case ReplayAnswerKind::kStopped: {
      const auto found = answers.sounds.find(channel);
      return found != answers.sounds.end() ? found->second : live;
    }
    case ReplayAnswerKind::kMusic:
      return answers.music >= 0 ? answers.music : live;
  }
  return live;
}

bool StoppedSoundAnswer(int channel, bool live) {
  ReplayState& state = State();
  if (state.mode == ReplayMode::kOff) return live;
  const double count = static_cast<double>(++state.stopCount);
  if (state.mode == ReplayMode::kRecording ? !state.realClock : !state.replay.realClock)
    return live;
  std::map<int, int>& noted = state.answers.stopped;
  if (state.mode == ReplayMode::kRecording) {
    const int value = live ? 1 : 0;
    const auto found = noted.find(channel);
    if (found == noted.end() || found->second != value) {
      noted[channel] = value;
      Append(count, "stopped " + std::to_string(channel) + " " + std::to_string(value));
    }
    return live;
  }
  // A replay recorded before stops were answered holds none: the device answers.
  const std::vector<ReplayAnswer>& recorded = state.replay.stops;
  while (state.nextStop < recorded.size() && recorded[state.nextStop].position <= count) {
    const ReplayAnswer& answer = recorded[state.nextStop++];
    noted[answer.channel] = static_cast<int>(answer.value);
  }
  const auto found = noted.find(channel);
  return found != noted.end() ? found->second != 0 : live;
}

bool TakeDueReplayEvent(ScriptEvent* event) {
  ReplayState& state = State();
  if (state.mode != ReplayMode::kPlaying) return false;
  const std::vector<ScriptEvent>& events = state.replay.events;
  if (state.nextEvent >= events.size() || events[state.nextEvent].ms > Position()) return false;
  *event = events[state.nextEvent++];
  return true;
}

bool ReplayInputExhausted() {
  const ReplayState& state = State();
  return state.mode != ReplayMode::kPlaying || state.nextEvent >= state.replay.events.size();
}

bool ReplayPassedItsEnd() {
  const ReplayState& state = State();
  return state.mode == ReplayMode::kPlaying && state.replay.endPosition >= 0 &&
         static_cast<double>(state.index) > state.replay.endPosition;
}

bool ReplayAtItsEnd() {
  const ReplayState& state = State();
  return state.mode == ReplayMode::kPlaying && state.replay.endPosition >= 0 &&
         static_cast<double>(state.index) >= state.replay.endPosition;
}

void NoteReplaySound(bool playsSounds) {
  State().sound = playsSounds;
}

bool ReplayHadSound() {
  const ReplayState& state = State();
  return state.mode == ReplayMode::kPlaying ? state.replay.sound : state.sound;
}

void KeepStartFile(std::string_view name, std::vector<uint8_t> bytes) {
  ReplayState& state = State();
  if (state.mode != ReplayMode::kRecording || !GoodFileName(name) || bytes.size() > kMaxFileBytes) {
    return;
  }
  for (auto& file : state.files) {
    if (file.first == name) {
      file.second = std::move(bytes);
      return;
    }
  }
  state.files.emplace_back(std::string(name), std::move(bytes));
}

bool ReplayStartFile(std::string_view name, std::vector<uint8_t>* bytes) {
  const ReplayState& state = State();
  if (state.mode != ReplayMode::kPlaying) return false;
  for (const auto& file : state.replay.files) {
    if (file.first == name) {
      *bytes = file.second;
      return true;
    }
  }
  return false;
}

std::string RecordedReplayText() {
  const ReplayState& state = State();
  if (state.mode != ReplayMode::kRecording || state.overflowed) return {};
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text = "#replay 1\n# A game as it was played; '" + state.program +
                     " --replay FILE' shows it again.\n#run " + state.program + "\n#version " +
                     state.version + "\n#seed " + std::to_string(state.seed) + "\n#clock " +
                     (state.realClock ? "real" : "virtual") + "\n" +
                     (state.sound ? "" : "#sound none\n");
  for (const auto& [name, bytes] : state.files) {
    text += "#file " + name + " ";
    for (uint8_t byte : bytes) {
      text += kHex[byte >> 4];
      text += kHex[byte & 15];
    }
    text += "\n";
  }
  text += state.body;
  text += std::to_string(state.index) + " end\n";
  return text;
}

}  // namespace zrb::platform
