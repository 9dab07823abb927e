#include "game/state.h"

namespace tundrel {

int32_t fullScreen = 0;
int32_t soundOn = 1;
int32_t scanlinesOn = 0;
int32_t easyMode = 0;
int32_t highScore = 0;
int32_t joypadEnabled = 0;

int32_t score = 0;
int32_t round = 0;
int32_t lives = 3;
int32_t timer = 0;
int32_t inGame = 1;
int32_t quitRequested = 0;
int32_t lossReason = 0;

int32_t bonusRound = 0;
int32_t extraLifeDue = 0;
int32_t backdropSlot = 0;
int32_t wallFrame = 0;
int32_t penguinSteps = 1;
int32_t enemySteps = 1;
int32_t birdCalm = 0;
int32_t birdTouched = 0;
int32_t randomItemActive = 0;
int32_t powerItemGiven = 0;

Penguin penguin1;
Penguin penguin2;
int32_t sideSwap = 0;
int32_t sprayChannel = -1;
int32_t sprayFrame = 0;
int32_t sprayCounter = 0;
int32_t sprayOffset1 = 0;
int32_t sprayOffset2 = 8;

EngineArray<EnemyRecord> enemies;
EngineArray<WebRecord> webs;
EngineArray<ItemRecord> items;
EngineArray<FloaterRecord> floaters;
EngineArray<SparkleRecord> sparkles;

EngineArray<int32_t> mazeGrid;
EngineArray<double> costGrid;
EngineArray<double> pathResult;
EngineArray<double> levelTable;
EngineArray<int32_t> keyHeld;

const EngineString fontChars = " !|=%##,#####+*/0123456789:.-()?'abcdefghijklmnopqrstuvwxyz&";
EngineString timeText;
EngineString roundText;

const char* screenName = "start";

}  // namespace tundrel
