// The game started straight in a chosen round, without the front end: for scenario tests and
// for looking at rounds, loss screens and round ends that take long to reach by play.
//
//   tundrel_stage [--round N] [--lives N] [--high N] [--easy] [--nella] [--power] [--mute]
//                 [--joypad] [--scanlines] [--place X1,Y1,X2,Y2] [--item COLUMN,ROW,TYPE]...
//                 [--timer N] [--round-frames N] [engine options: --headless --script --trace ...]
//
// --place, --item, --power and --timer apply to the first round (--item: an item of that type
// in that maze cell from the round's first frame; --timer N: N frames left on its clock);
// --round-frames N starts the next round after N frames of each (to pass through many rounds
// quickly). The game runs its round loop until game over or a confirmed quit, then the program
// ends.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "engine/files/resolver.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/screen.h"
#include "engine/frame/show_screen.h"
#include "engine/graphics/sprites.h"
#include "engine/input/input.h"
#include "engine/platform/console.h"
#include "game/game_loop.h"
#include "game/game_main.h"
#include "game/maze.h"
#include "game/penguins.h"
#include "game/state.h"
#include "game/webs_items.h"

namespace {

struct StageOptions {
  int32_t round = 1;
  int32_t lives = 3;
  int32_t highScore = 0;
  bool easy = false;
  bool nella = false;
  bool power = false;
  bool mute = false;
  bool joypad = false;
  bool scanlines = false;
  bool place = false;
  int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::vector<std::array<int32_t, 3>> items;  // column, row, type
  int32_t timer = 0;
  int32_t roundFrames = 0;
};

StageOptions g_stage;

bool ParseNumber(std::string_view text, int32_t& value) {
  char* end = nullptr;
  const std::string copy(text);
  const long parsed = std::strtol(copy.c_str(), &end, 10);
  if (end == copy.c_str() || *end != '\0' || parsed < -100000000 || parsed > 100000000)
    return false;
  value = static_cast<int32_t>(parsed);
  return true;
}

// Exactly N numbers separated by commas.
template <size_t N>
bool ParseNumbers(std::string_view text, std::array<int32_t, N>& values) {
  for (size_t i = 0; i < N; ++i) {
    const size_t comma = text.find(',');
    if ((comma == std::string_view::npos) != (i == N - 1)) return false;
    if (!ParseNumber(text.substr(0, comma), values[i])) return false;
    if (i < N - 1) text.remove_prefix(comma + 1);
  }
  return true;
}

bool ParseItem(std::string_view text, StageOptions& stage) {
  std::array<int32_t, 3> item{};
  if (!ParseNumbers(text, item) || item[0] < 0 || item[0] >= tundrel::kMazeColumns || item[1] < 0 ||
      item[1] >= tundrel::kMazeRows || item[2] < 0) {
    return false;
  }
  stage.items.push_back(item);
  return true;
}

bool ParsePlace(std::string_view text, StageOptions& stage) {
  std::array<int32_t, 4> values{};
  if (!ParseNumbers(text, values)) return false;
  stage.place = true;
  stage.x1 = values[0];
  stage.y1 = values[1];
  stage.x2 = values[2];
  stage.y2 = values[3];
  return true;
}

// Takes the stage's own options out of the arguments; the rest go to the engine.
bool TakeStageOptions(int argc, char** argv, std::vector<char*>& engineArgs) {
  engineArgs.push_back(argv[0]);
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--round" && hasValue) {
      if (!ParseNumber(argv[++i], g_stage.round) || g_stage.round < 1) return false;
    } else if (arg == "--high" && hasValue) {
      if (!ParseNumber(argv[++i], g_stage.highScore) || g_stage.highScore < 0) return false;
    } else if (arg == "--lives" && hasValue) {
      if (!ParseNumber(argv[++i], g_stage.lives) || g_stage.lives < 0) return false;
    } else if (arg == "--timer" && hasValue) {
      if (!ParseNumber(argv[++i], g_stage.timer) || g_stage.timer < 1 || g_stage.timer > 2702)
        return false;
    } else if (arg == "--round-frames" && hasValue) {
      if (!ParseNumber(argv[++i], g_stage.roundFrames) || g_stage.roundFrames < 1) return false;
    } else if (arg == "--place" && hasValue) {
      if (!ParsePlace(argv[++i], g_stage)) return false;
    } else if (arg == "--item" && hasValue) {
      if (!ParseItem(argv[++i], g_stage)) return false;
    } else if (arg == "--easy") {
      g_stage.easy = true;
    } else if (arg == "--nella") {
      g_stage.nella = true;
    } else if (arg == "--power") {
      g_stage.power = true;
    } else if (arg == "--mute") {
      g_stage.mute = true;
    } else if (arg == "--joypad") {
      g_stage.joypad = true;
    } else if (arg == "--scanlines") {
      g_stage.scanlines = true;
    } else {
      engineArgs.push_back(argv[i]);
    }
  }
  return true;
}

int StageMain() {
  using namespace tundrel;
  zrb::SetMediaArchive("Media.sbx", "Media.sbx");
  zrb::AllowEscape(0);
  zrb::AutoPause(0);
  zrb::SetScreen(640, 480, 0);
  zrb::SetTransparentColour(0);
  zrb::ShowMousePointer(0);
  PrepareGameData();
  LoadCatalogue();

  sideSwap = g_stage.nella ? 10 : 0;
  easyMode = g_stage.easy ? 1 : 0;
  soundOn = g_stage.mute ? 0 : 1;
  joypadEnabled = g_stage.joypad ? 1 : 0;
  scanlinesOn = g_stage.scanlines ? 1 : 0;
  highScore = g_stage.highScore;
  ResetPenguins();
  penguin1.facing = penguin2.facing = 0;
  StartGame();
  // StartGame set up round 1; the chosen round replaces it.
  lives = g_stage.lives;
  round = g_stage.round - 1;
  RoundStart(1);
  if (g_stage.place) {
    penguin1.x = g_stage.x1;
    penguin1.y = g_stage.y1;
    penguin2.x = g_stage.x2;
    penguin2.y = g_stage.y2;
  }
  for (const auto& [column, row, type] : g_stage.items)
    SpawnItem(column, row, type, 0);
  if (g_stage.power) penguinSteps = 2;
  // The clock steps by 20 a frame and runs out below 0, as it does from the game's 54059.
  if (g_stage.timer > 0) timer = 20 * g_stage.timer - 1;
  int32_t framesInRound = 0;
  int32_t roundShown = round;
  while (inGame == 1) {
    RoundFrame();
    if (round != roundShown) {
      roundShown = round;
      framesInRound = 0;
    } else if (++framesInRound == g_stage.roundFrames && inGame == 1) {
      ResetPenguins();
      RoundStart(1);
    }
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  zrb::platform::PrepareCommandLine(&argc, &argv);
  std::vector<char*> engineArgs;
  if (!TakeStageOptions(argc, argv, engineArgs)) {
    std::fprintf(stderr,
                 "usage: tundrel_stage [--round N] [--lives N] [--high N] [--easy] [--nella] "
                 "[--power] [--mute] [--joypad] [--scanlines] [--place X1,Y1,X2,Y2] [--item "
                 "C,R,TYPE]... [--timer N] "
                 "[--round-frames N] [engine options]\n");
    return 2;
  }
  zrb::GameProgram program;
  program.name = "tundrel_stage";
  program.version = "1.0";
  program.projectSettings = &tundrel::ProjectSettings;
  program.gameMain = &StageMain;
  program.traceFrame = &tundrel::TraceFrame;
  return zrb::EngineMain(static_cast<int>(engineArgs.size()), engineArgs.data(), program);
}
