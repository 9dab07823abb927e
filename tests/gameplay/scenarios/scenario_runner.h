// Runs the game (or the stage program) headless as its own process with a script, and reads
// back what it left: the trace, one record per presented frame, and the texts the font drew
// in each frame (from the draw log).
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tundrel::scenarios {

struct TraceFrame {
  // Scalars by name; nested objects flattened ("p1.x"). Arrays of texts in `lists`.
  std::map<std::string, std::string> fields;
  std::map<std::string, std::vector<std::string>> lists;
  // The font texts drawn in the frame, each a run of glyphs on one line.
  std::vector<std::string> texts;

  std::string Str(const std::string& name) const;
  int64_t Int(const std::string& name) const;
  bool HasText(std::string_view text) const;
  bool HasSound(std::string_view event) const;  // "play 21"
  bool HasMusic(std::string_view event) const;  // "play _theme.mp3 loop"
};

struct ScenarioOptions {
  bool stage = false;             // the stage program instead of the game
  std::vector<std::string> args;  // extra arguments (stage options)
  std::string script;             // script text
  uint32_t seed = 7;
  long maxFrames = 0;
  std::optional<std::string> settingsFile;  // bytes of settings.cfg, else none
};

struct ScenarioRun {
  int exitStatus = -1;
  std::string errorOutput;
  std::vector<TraceFrame> frames;

  // Index of the first frame at or after `from` whose screen is `screen`, or -1.
  int Find(std::string_view screen, int from = 0) const;
  // Consecutive frames of `screen` starting at `index`.
  int RunLength(int index) const;
  int Count(std::string_view screen) const;
};

ScenarioRun RunScenario(const ScenarioOptions& options);

// A script kept beside the scenario tests.
std::string ReadScenarioScript(const std::string& name);

}  // namespace tundrel::scenarios
