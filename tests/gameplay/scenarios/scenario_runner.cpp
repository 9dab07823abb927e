#include "scenario_runner.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "game/state.h"

extern char** environ;

namespace tundrel::scenarios {
namespace {

namespace fs = std::filesystem;

// A small reader for the trace's JSON: objects, arrays, strings, numbers, null.
class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  bool ReadObject(const std::string& prefix, TraceFrame& frame) {
    if (!Take('{')) return false;
    if (Take('}')) return true;
    do {
      std::string key;
      if (!ReadString(key) || !Take(':')) return false;
      const std::string name = prefix.empty() ? key : prefix + "." + key;
      Skip();
      if (Peek() == '{') {
        if (!ReadObject(name, frame)) return false;
      } else if (Peek() == '[') {
        if (!ReadList(frame.lists[name])) return false;
      } else if (Peek() == '"') {
        if (!ReadString(frame.fields[name])) return false;
      } else {
        if (!ReadBare(frame.fields[name])) return false;
      }
    } while (Take(','));
    return Take('}');
  }

 private:
  void Skip() {
    while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
      ++pos_;
  }
  char Peek() {
    Skip();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }
  bool Take(char c) {
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }
  bool ReadString(std::string& out) {
    if (!Take('"')) return false;
    out.clear();
    while (pos_ < text_.size() && text_[pos_] != '"') {
      if (text_[pos_] == '\\' && pos_ + 1 < text_.size()) ++pos_;
      out += text_[pos_++];
    }
    return pos_ < text_.size() && text_[pos_++] == '"';
  }
  bool ReadBare(std::string& out) {
    const size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && text_[pos_] != '}' && text_[pos_] != ']') {
      ++pos_;
    }
    out.assign(text_.substr(start, pos_ - start));
    return pos_ > start;
  }
  bool ReadList(std::vector<std::string>& out) {
    if (!Take('[')) return false;
    if (Take(']')) return true;
    do {
      std::string item;
      if (Peek() == '"' ? !ReadString(item) : !ReadBare(item)) return false;
      out.push_back(item);
    } while (Take(','));
    return Take(']');
  }

  std::string_view text_;
  size_t pos_ = 0;
};

struct Glyph {
  int x, y;
  char c;
};

// Runs of glyphs 16 pixels apart on one line make a text.
std::vector<std::string> TextsOf(std::vector<Glyph> glyphs) {
  std::sort(glyphs.begin(), glyphs.end(),
            [](const Glyph& a, const Glyph& b) { return a.y != b.y ? a.y < b.y : a.x < b.x; });
  std::vector<std::string> texts;
  for (size_t i = 0; i < glyphs.size(); ++i) {
    if (i == 0 || glyphs[i].y != glyphs[i - 1].y || glyphs[i].x != glyphs[i - 1].x + 16) {
      texts.emplace_back();
    }
    texts.back() += glyphs[i].c;
  }
  for (std::string& text : texts) {
    while (!text.empty() && text.back() == ' ')
      text.pop_back();
  }
  return texts;
}

std::map<long, std::vector<std::string>> ReadDrawLogTexts(const fs::path& path) {
  std::map<long, std::vector<std::string>> texts;
  std::ifstream in(path);
  const std::string_view chars = fontChars;
  std::vector<Glyph> glyphs;
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("frame ", 0) == 0) {
      texts[std::atol(line.c_str() + 6)] = TextsOf(std::move(glyphs));
      glyphs.clear();
      continue;
    }
    int slot = 0, frame = 0, x = 0, y = 0;
    if (std::sscanf(line.c_str(), "DrawAnim %d %d %d %d", &slot, &frame, &x, &y) != 4) continue;
    if (slot != 3 || frame < 0 || frame >= static_cast<int>(chars.size())) continue;
    glyphs.push_back({x, y, chars[frame]});
  }
  return texts;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

fs::path FreshDirectory() {
  static std::atomic<int> counter{0};
  const fs::path dir = fs::temp_directory_path() / ("tundrel_scenario_" + std::to_string(getpid()) +
                                                    "_" + std::to_string(counter++));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

}  // namespace

std::string TraceFrame::Str(const std::string& name) const {
  const auto it = fields.find(name);
  return it == fields.end() ? std::string() : it->second;
}

int64_t TraceFrame::Int(const std::string& name) const {
  const auto it = fields.find(name);
  return it == fields.end() ? INT64_MIN : std::atoll(it->second.c_str());
}

bool TraceFrame::HasText(std::string_view text) const {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

bool TraceFrame::HasSound(std::string_view event) const {
  const auto it = lists.find("sounds");
  return it != lists.end() &&
         std::find(it->second.begin(), it->second.end(), event) != it->second.end();
}

bool TraceFrame::HasMusic(std::string_view event) const {
  const auto it = lists.find("music");
  return it != lists.end() &&
         std::find(it->second.begin(), it->second.end(), event) != it->second.end();
}

int ScenarioRun::Find(std::string_view screen, int from) const {
  for (int i = std::max(from, 0); i < static_cast<int>(frames.size()); ++i) {
    if (frames[i].Str("screen") == screen) return i;
  }
  return -1;
}

int ScenarioRun::RunLength(int index) const {
  if (index < 0) return 0;
  const std::string screen = frames[index].Str("screen");
  int length = 0;
  while (index + length < static_cast<int>(frames.size()) &&
         frames[index + length].Str("screen") == screen) {
    ++length;
  }
  return length;
}

int ScenarioRun::Count(std::string_view screen) const {
  return static_cast<int>(std::count_if(frames.begin(), frames.end(), [&](const TraceFrame& f) {
    return f.Str("screen") == screen;
  }));
}

ScenarioRun RunScenario(const ScenarioOptions& options) {
  const fs::path dir = FreshDirectory();
  fs::create_symlink(TUNDREL_MEDIA_ARCHIVE, dir / "Media.sbx");
  if (options.settingsFile) {
    std::ofstream(dir / "settings.cfg", std::ios::binary) << *options.settingsFile;
  }
  std::ofstream(dir / "input.script") << options.script;

  std::vector<std::string> args = {options.stage ? TUNDREL_STAGE_PROGRAM : TUNDREL_GAME_PROGRAM,
                                   "--headless",
                                   "--dir",
                                   dir.string(),
                                   "--seed",
                                   std::to_string(options.seed),
                                   "--script",
                                   (dir / "input.script").string(),
                                   "--trace",
                                   (dir / "trace.json").string(),
                                   "--draw-log",
                                   (dir / "draw.log").string()};
  if (options.maxFrames > 0) {
    args.push_back("--max-frames");
    args.push_back(std::to_string(options.maxFrames));
  }
  args.insert(args.end(), options.args.begin(), options.args.end());
  std::vector<char*> argv;
  for (std::string& arg : args)
    argv.push_back(arg.data());
  argv.push_back(nullptr);

  ScenarioRun run;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  const std::string errorPath = (dir / "stderr.txt").string();
  posix_spawn_file_actions_addopen(&actions, 2, errorPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  pid_t pid = 0;
  if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  }
  posix_spawn_file_actions_destroy(&actions);
  run.errorOutput = ReadFile(errorPath);

  const auto texts = ReadDrawLogTexts(dir / "draw.log");
  std::ifstream trace(dir / "trace.json");
  std::string line;
  while (std::getline(trace, line)) {
    TraceFrame frame;
    if (!JsonReader(line).ReadObject("", frame)) break;
    const auto it = texts.find(static_cast<long>(frame.Int("frame")));
    if (it != texts.end()) frame.texts = it->second;
    run.frames.push_back(std::move(frame));
  }
  fs::remove_all(dir);
  return run;
}

std::string ReadScenarioScript(const std::string& name) {
  const char* folder = std::getenv("TUNDREL_TEST_DATA");
  return ReadFile(fs::path(folder ? folder : TUNDREL_SCENARIO_DIR) / name);
}

}  // namespace tundrel::scenarios
