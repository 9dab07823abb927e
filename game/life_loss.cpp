#include "game/life_loss.h"

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "engine/graphics/draw.h"
#include "game/catalogue.h"
#include "game/effects.h"
#include "game/enemies.h"
#include "game/maze.h"
#include "game/penguins.h"
#include "game/state.h"
#include "game/text.h"
#include "game/webs_items.h"

namespace tundrel {
namespace {

constexpr int32_t kOutOfTime = 1;
constexpr int32_t kQuit = 2;
constexpr int32_t kNets = 3;
constexpr int32_t kSpiderCatch = 4;
constexpr int32_t kFlameCatch = 5;

constexpr int32_t kOutOfTimeFrames = 240;
constexpr int32_t kQuitFrames = 280;
constexpr int32_t kFreezeFrames = 120;
constexpr int32_t kLossScreenFrames = 150;
constexpr int32_t kGameOverFrames = 180;

void PlayLossMusic() {
  if (soundOn != 1) return;
  if (zrb::MusicPlaying() == 1) zrb::StopMusic();
  zrb::PlayMusic(kLostLifeMusic, 0);
}

void PlayLossSounds() {
  if (soundOn == 1) zrb::PlaySound(sndDead);
  PlayLossMusic();
}

void DrawFrozenPenguin(const Penguin& penguin, int32_t freeFrame, int32_t heldFrame) {
  if (penguin.webState == 0) zrb::DrawAnim(imgPlayer, freeFrame, penguin.x, penguin.y);
  if (penguin.webState == 2) zrb::DrawAnim(imgPlayer, heldFrame, penguin.x, penguin.y);
}

// The round goes on around the caught penguins for a while.
void Freeze() {
  for (int32_t n = 0; n < kFreezeFrames; ++n) {
    DrawPlayfield(1);
    zrb::DrawAnim(imgItems, 0, 304, 80);
    DrawFrozenPenguin(penguin1, sideSwap + 1, sideSwap);
    DrawFrozenPenguin(penguin2, 11 - sideSwap, 10 - sideSwap);
    UpdateWebs();
    UpdateEnemies(1);
    UpdateFloaters();
    UpdateSparkles();
    SpawnRandomItem();
    screenName = "freeze";
    FinishFrame();
  }
}

void ShowOutOfTime() {
  PlayLossMusic();
  for (int32_t n = 0; n < kOutOfTimeFrames; ++n) {
    zrb::ClearScreen(0);
    zrb::DrawAnim(imgPlayer, sideSwap + 1, 320, 202);
    zrb::DrawAnim(imgItems, 21, 286, 202);
    PrintText("out of time!", 14, 160);
    if (lives > 0) {
      PrintText("life lost!", 15, 256);
    } else {
      PrintText("final life lost!", 12, 256);
    }
    screenName = "out-of-time";
    FinishFrame();
  }
}

void ShowQuit() {
  PlayLossMusic();
  for (int32_t n = 0; n < kQuitFrames; ++n) {
    zrb::ClearScreen(0);
    zrb::DrawAnim(imgItems, sideSwap == 10 ? 23 : 22, 304, 240);
    zrb::DrawAnim(imgItems, 14, 280, 226);
    PrintText("someone took the easy way", 7, 160);
    PrintText("out, and exited the game!", 7, 176);
    PrintText("score won't be counted!", 8, 300);
    screenName = "quit-screen";
    FinishFrame();
  }
}

void ShowNets() {
  PlayLossSounds();
  Freeze();
  for (int32_t n = 0; n < kLossScreenFrames; ++n) {
    zrb::ClearScreen(0);
    zrb::DrawAnim(imgPlayer, sideSwap + 1, 272, 240);
    zrb::DrawAnim(imgPlayer, 10 - sideSwap, 336, 240);
    PrintText("oops, how clumsy!", 11, 160);
    PrintText("caught in the nets!", 10, 176);
    PrintText("you've lost a life!", 10, 300);
    zrb::DrawAnim(imgWebs, 0, 272, 240);
    zrb::DrawAnim(imgWebs, 0, 336, 240);
    screenName = "nets";
    FinishFrame();
  }
}

void ShowCaught(int32_t reason) {
  PlayLossSounds();
  Freeze();
  for (int32_t n = 0; n < kLossScreenFrames; ++n) {
    zrb::ClearScreen(0);
    zrb::DrawAnim(imgPlayer, sideSwap == 10 ? 0 : 1, 304, 240);
    if (reason == kSpiderCatch) {
      zrb::DrawAnim(imgEnemies, 0, 272, 240);
      PrintText("caught by a spider!", 10, 176);
    } else {
      zrb::DrawAnim(imgEnemies, 3, 272, 240);
      PrintText("roasted by a flame!", 10, 176);
    }
    PrintText("you've lost a life!", 10, 300);
    screenName = "caught";
    FinishFrame();
  }
}

void ShowGameOver(bool beaten) {
  if (soundOn == 1 && zrb::MusicPlaying() == 1) zrb::StopMusic();
  // These two sound whatever the sound setting says.
  zrb::PlaySound(beaten ? sndHighscore : sndNoHighscore);
  for (int32_t n = 0; n < kGameOverFrames; ++n) {
    zrb::ClearScreen(0);
    zrb::DrawSprite(imgEnd, 216, 214);
    PrintText("game over!", 15, 176);
    if (beaten) {
      PrintText("highscore was achieved!", 8, 300);
    } else {
      PrintText("highscore not beaten!", 10, 300);
    }
    screenName = "game-over";
    FinishFrame();
  }
}

}  // namespace

void CheckLifeLoss() {
  if (penguin1.webState == 2 && penguin2.webState == 2) lossReason = kNets;

  if (bonusRound == 0 && timer < 0 && lossReason == 0) {
    ShowOutOfTime();
    lossReason = kOutOfTime;
  }
  if (lossReason == kQuit) ShowQuit();
  if (lossReason == kNets) ShowNets();
  if (lossReason == kSpiderCatch || lossReason == kFlameCatch) ShowCaught(lossReason);

  const bool lifeTaken = lossReason > 0;
  if (lifeTaken) lives -= 1;

  if (lives < 0) {
    // A game left through the quit confirmation does not count for the high score.
    const bool beaten = score > highScore && lossReason != kQuit;
    ShowGameOver(beaten);
    inGame = 0;
    if (beaten) highScore = score;
  } else if (lifeTaken) {
    ResetPenguins();
    round -= 1;
    RoundStart(1);
  }
}

}  // namespace tundrel
