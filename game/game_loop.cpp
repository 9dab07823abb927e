#include "game/game_loop.h"

#include "engine/audio/music.h"
#include "engine/frame/engine_main.h"
#include "engine/graphics/draw.h"
#include "engine/input/input.h"
#include "game/catalogue.h"
#include "game/effects.h"
#include "game/enemies.h"
#include "game/front_end.h"
#include "game/keys.h"
#include "game/life_loss.h"
#include "game/maze.h"
#include "game/penguins.h"
#include "game/selection.h"
#include "game/settings_file.h"
#include "game/state.h"
#include "game/text.h"
#include "game/webs_items.h"

namespace tundrel {
namespace {

constexpr int32_t kTimerPerFrame = 20;

}  // namespace

void StepTimer() {
  if (timer > 1 && easyMode != 1) timer -= kTimerPerFrame;
}

void StartGame() {
  score = 0;
  zrb::ClearScreen(0);
  inGame = 1;
  round = 0;
  lives = 3;
  lossReason = 0;
  RoundStart(1);
}

void RoundFrame() {
  MovePenguins();
  DrawPlayfield(1);
  DrawPenguins();
  UpdateWebs();
  UpdateEnemies(1);
  CheckEnemyContacts();
  UpdateFloaters();
  SpawnRandomItem();
  UpdateSparkles();
  screenName = "round";
  FinishFrame();
  StepTimer();
  // The pad's Back asks too: its B fires in a round, so it cannot be the Escape here.
  if (zrb::KeyState(kKeyEscape) != 0 || PadBackDown()) ConfirmExit(2);
  CheckLifeLoss();
}

void PlayGame() {
  WaitKey();
  SelectPenguin();
  StartGame();
  while (inGame == 1)
    RoundFrame();
  if (zrb::MusicPlaying() == 1) zrb::StopMusic();
  if (soundOn == 1) zrb::PlayMusic(kThemeMusic, 1);
  SaveSettingsInBrowser();
  // The game so far is kept as it ends: a page in the browser never reaches the program's end.
  zrb::KeepReplaySoFar();
}

}  // namespace tundrel
