// The game's state: everything lives for the whole run in these program-wide variables.
// Per-round state is rebuilt by RoundStart.
#pragma once

#include <cstdint>

#include "engine/values/data_block.h"
#include "engine/values/engine_array.h"
#include "engine/values/engine_string.h"

namespace tundrel {

using zrb::DataBlock;
using zrb::EngineArray;
using zrb::EngineString;

// --- Settings (kept in settings.cfg) -------------------------------------------------------
extern int32_t fullScreen;     // 1 full screen, 0 window
extern int32_t soundOn;        // 1: effects and music play
extern int32_t scanlinesOn;    // 1: every frame gets the scanline overlay
extern int32_t easyMode;       // 0 normal, 1 easy
extern int32_t highScore;      // best score so far
extern int32_t joypadEnabled;  // 1: key waits and play also read the joypad (file only)

// --- Play state ----------------------------------------------------------------------------
extern int32_t score;
extern int32_t round;
extern int32_t lives;
extern int32_t timer;  // 20 units pass per frame; shown as timer / 60
extern int32_t inGame;
extern int32_t quitRequested;

// Why the current life ends: 0 none, 1 out of time, 2 quit, 3 both penguins in webs,
// 4 caught by a spider, 5 caught by a flame.
extern int32_t lossReason;

// --- Round state ---------------------------------------------------------------------------
extern int32_t bonusRound;    // 1 in rounds 3, 8, 13, ...
extern int32_t extraLifeDue;  // 1 when the previous round was a bonus round
extern int32_t backdropSlot;  // one of imgBack1..imgBack5
extern int32_t wallFrame;     // tiles frame of the wall cells
extern int32_t penguinSteps;  // 1, or 2 in power mode
extern int32_t enemySteps;    // 1, or 2 after hurry-up
extern int32_t birdCalm;      // frames during which birds are harmless
extern int32_t birdTouched;
extern int32_t randomItemActive;
extern int32_t powerItemGiven;

// --- Penguins ------------------------------------------------------------------------------
// Penguin 1 follows left and right as pressed; penguin 2 is mirrored.
struct Penguin {
  int32_t x = 0;  // top-left pixel of the 32 x 32 sprite
  int32_t y = 0;
  int32_t webState = 0;  // 0 free, 1 being pulled into a web, 2 held
  int32_t spraying = 0;
  int32_t dirBase = 0;      // animation base: idle, right, left, up, down pairs
  int32_t facing = 0;       // last walking direction, for spraying; 0 before the first step
  int32_t walkFrame = 0;    // 0 or 1
  int32_t walkCounter = 0;  // steps toward the next walk frame
};
extern Penguin penguin1;
extern Penguin penguin2;

extern int32_t sideSwap;      // 0: "tibbo" is penguin 1; 10: "nella" is penguin 1
extern int32_t sprayChannel;  // sound channel of the spray
extern int32_t sprayFrame;    // 0 or 1
extern int32_t sprayCounter;  // 0..8
extern int32_t sprayOffset1;  // spray strip offset of each penguin: 0 or 8
extern int32_t sprayOffset2;

// --- Records -------------------------------------------------------------------------------
struct EnemyRecord {
  double x = 0, y = 0;
  int32_t startCellX = 0, startCellY = 0;
  int32_t animFrame = 0;
  int32_t animCounter = 0;
  int32_t type = 0;    // 0 spider, 2 flame, 6 bird; also the base frame in the enemies strip
  EngineString moves;  // one character per cell still to walk: '<' '>' '^' '|'
  int32_t targetCellX = 0, targetCellY = 0;
  int32_t area = 0;  // 0 whole maze, 1 left half, 2 right half, 3 top rows
  int32_t stepCountdown = 0;
  int32_t speed = 0;
  int32_t facing = 0;
  double dx = 0, dy = 0;
};

struct WebRecord {
  int32_t x = 0, y = 0;
  int32_t frame = 0;
  int32_t frameCounter = 0;
  int32_t active = 0;   // 1 once it has caught something: it then animates
  int32_t pulling = 0;  // 0, or the penguin (1 or 2) it pulls in
  int32_t holding = 0;  // 0, or the penguin (1 or 2) it holds
};

struct ItemRecord {
  int32_t type = 0;  // also its frame in the items strip
  int32_t x = 0, y = 0;
  double bob = 0;
  int32_t phase = 0;
  int32_t life = 0;
  int32_t shadowAngle = 0;
};

struct FloaterRecord {
  int32_t type = 0;  // 0-13 score label, 14 ring particle, 15-17 burst particles
  int32_t x = 0, y = 0;
  int32_t age = 0;
  double alpha = 0;
  double radius = 0;
  double angle = 0;
  double speed = 0;
};

struct SparkleRecord {
  double x = 0, y = 0;
  int32_t red = 0, green = 0, blue = 0;
  double alpha = 0;
  double vy = 0;
  double vx = 0;
  int32_t life = 0;
};

extern EngineArray<EnemyRecord> enemies;
extern EngineArray<WebRecord> webs;
extern EngineArray<ItemRecord> items;
extern EngineArray<FloaterRecord> floaters;
extern EngineArray<SparkleRecord> sparkles;

// --- Grids and tables ----------------------------------------------------------------------
inline constexpr int32_t kMazeColumns = 17;
inline constexpr int32_t kMazeRows = 12;
inline constexpr int32_t kLayoutCodes = kMazeColumns * kMazeRows;  // 204
inline constexpr int32_t kStoredLayouts = 40;                      // the ones that are read

extern EngineArray<int32_t> mazeGrid;   // [column][row]: 0 floor, 1 web start, 8 wall, 9 border
extern EngineArray<double> costGrid;    // [column][row]: 9 free, 0 wall, for FindPath
extern EngineArray<double> pathResult;  // filled by FindPath
extern EngineArray<double> levelTable;  // 40 layouts of 204 codes, row by row
extern EngineArray<int32_t> keyHeld;    // key-release tracker, one entry per key code

// --- Texts ---------------------------------------------------------------------------------
// The font's character order: frame n of font1.png shows character n.
extern const EngineString fontChars;
extern EngineString timeText;
extern EngineString roundText;

// --- Trace -------------------------------------------------------------------------------
// A short name of the screen whose loop presents the current frame ("menu", "round", ...).
extern const char* screenName;

// --- Stored data ---------------------------------------------------------------------------
extern DataBlock levelData;  // 42 layouts of 204 codes; the first 40 are read
extern DataBlock instructionsPage1;
extern DataBlock instructionsPage2;
extern DataBlock instructionsPage3;
extern DataBlock instructionsPage4;

}  // namespace tundrel
