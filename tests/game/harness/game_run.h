// Runs the game program headless in a scratch working folder with a script of key events,
// and reads back what it left: exit status, trace, draw log, files.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "game/harness/draw_log.h"
#include "game/harness/trace.h"

namespace tundrel::testing {

using Bytes = std::vector<uint8_t>;

// Script lines in time order: "<ms> key <name> down|up".
class Script {
 public:
  Script& Down(double ms, const std::string& key);
  Script& Up(double ms, const std::string& key);
  // Down at ms, up holdMs later.
  Script& Tap(double ms, const std::string& key, double holdMs = 40);
  // "<ms> joy <what> <value>": what is x, y, button1 or button2.
  Script& Joy(double ms, const std::string& what, int value);
  // The window's close request.
  Script& Close(double ms);
  // The title's key press: the menu is up well before 2000 ms.
  Script& PastTitle();
  const std::string& Text() const { return text_; }

 private:
  std::string text_;
};

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
  std::vector<TraceFrame> trace;
  std::vector<DrawFrame> frames;

  // Index of the first trace frame at or after `from` whose screen is `screen`, or -1.
  int FirstFrame(const std::string& screen, int from = 0) const;
  // Number of trace frames shown by that screen.
  int FrameCount(const std::string& screen) const;
  // The screens in order of appearance, each run of equal names once.
  std::vector<std::string> ScreenSequence() const;
  // The draw log frame that goes with trace frame `index`.
  const DrawFrame& Drawn(int index) const;
  // Index of the first frame with this music event, or -1.
  int FirstMusicEvent(const std::string& event, int from = 0) const;
};

class GameRun {
 public:
  GameRun();
  ~GameRun();
  GameRun(const GameRun&) = delete;
  GameRun& operator=(const GameRun&) = delete;

  // The game's working folder (--dir): the scratch folder, or a folder inside it.
  const std::filesystem::path& Dir() const { return workDir_; }
  void UseWorkingSubfolder(const std::string& name);
  void WriteFile(const std::string& name, const Bytes& bytes) const;
  // The file's bytes; empty when it does not exist.
  Bytes ReadFile(const std::string& name) const;
  bool Exists(const std::string& name) const;
  // A short blip and a looping theme beside the game, so sound and music events show.
  void AddSoundFixtures() const;

  // Options beyond --headless --dir --seed --script --trace --draw-log --max-frames;
  // environment as "NAME=value" words put before the command.
  RunResult Run(const Script& script, long maxFrames = 3000,
                const std::vector<std::string>& extraOptions = {},
                const std::vector<std::string>& environment = {}) const;

 private:
  std::filesystem::path dir_;
  std::filesystem::path workDir_;
};

}  // namespace tundrel::testing
