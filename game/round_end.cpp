#include "game/round_end.h"

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "engine/graphics/draw.h"
#include "engine/values/numeric.h"
#include "game/catalogue.h"
#include "game/effects.h"
#include "game/maze.h"
#include "game/penguins.h"
#include "game/record_lists.h"
#include "game/state.h"
#include "game/text.h"
#include "game/webs_items.h"

namespace tundrel {
namespace {

constexpr int32_t kCelebrationFrames = 270;
constexpr int32_t kCelebrationHeartsJoin = 120;  // last frame of the first celebration picture
constexpr int32_t kNoBonusFrames = 240;
constexpr int32_t kBonusTallyFrames = 150;
constexpr int32_t kTitleCardFrames = 150;
constexpr int32_t kHeart = 2;

void BurstEnemiesAway() {
  while (RecordCount(enemies) > 0) {
    const EnemyRecord& enemy = enemies(0);
    SpawnBurst(zrb::TruncateToInt(enemy.x), zrb::TruncateToInt(enemy.y), BurstSize::kMedium);
    RemoveRecord(enemies, 0);
  }
}

// The two penguins at the cage, then together, while two hearts spin up and fade.
void Celebrate(int32_t leftBase, int32_t rightBase) {
  double fade = 0.0;
  double spinLeft = 0.1;
  double spinRight = 359.9;
  for (int32_t n = 0; n < kCelebrationFrames; ++n) {
    zrb::ClearScreen(0);
    DrawPlayfield(0);
    UpdateFloaters();
    UpdateSparkles();
    if (n <= kCelebrationHeartsJoin) {
      zrb::DrawAnim(imgPlayer, rightBase, 330, 80);
      zrb::DrawAnim(imgPlayer, leftBase, 276, 80);
      zrb::DrawAnim(imgItems, 1, 304, 80);
    } else {
      zrb::DrawAnim(imgPlayer, rightBase + 5, 320, 80);
      zrb::DrawAnim(imgPlayer, leftBase + 2, 286, 80);
      zrb::DrawAnim(imgItems, 3, 304, 70);
    }
    if (fade < 1.0) {
      const double sine = zrb::Sin(n);
      const int32_t heartY = zrb::TruncateToInt(20 * sine + n + 80);
      zrb::SetAlphaMode(fade - 1.0);
      zrb::RotoZoomAnim(imgItems, 4, zrb::TruncateToInt(288 - 50 * sine), heartY, spinLeft, 1.0);
      zrb::RotoZoomAnim(imgItems, 5, zrb::TruncateToInt(320 + 50 * sine), heartY, spinRight, 1.0);
      spinLeft += 0.65;
      spinRight -= 0.65;
      fade += 0.0075;
      zrb::SetAlphaMode(0);
    }
    screenName = "celebration";
    FinishFrame();
  }
}

void ShowNoBonus() {
  for (int32_t n = 0; n < kNoBonusFrames; ++n) {
    zrb::ClearScreen(0);
    UpdateFloaters();
    zrb::DrawAnim(imgPlayer, sideSwap + 1, penguin1.x, penguin1.y);
    zrb::DrawAnim(imgPlayer, 11 - sideSwap, penguin2.x, penguin2.y);
    PrintText("no bonus!", 15, 160);
    screenName = "no-bonus";
    FinishFrame();
  }
}

void ShowBonusTally() {
  int32_t heartsLeft = 0;
  for (int32_t i = 0; i < RecordCount(items); ++i) {
    if (items(i).type == kHeart) ++heartsLeft;
  }
  if (soundOn == 1 && heartsLeft == 0) zrb::PlaySound(sndAllHearts);
  for (int32_t n = 0; n < kBonusTallyFrames; ++n) {
    zrb::ClearScreen(0);
    UpdateFloaters();
    UpdateSparkles();
    zrb::DrawAnim(imgPlayer, sideSwap + 5, 320, 202);
    zrb::DrawAnim(imgPlayer, 12 - sideSwap, 286, 202);
    zrb::DrawAnim(imgItems, 3, 304, 192);
    if (heartsLeft == 0) {
      PrintText("perfect!", 16, 160);
      PrintText("50000 pts!", 15, 256);
    } else {
      PrintText("bonus!", 17, 160);
      PrintText("10000 pts!", 15, 256);
    }
    screenName = "bonus-tally";
    FinishFrame();
  }
  AddScore(heartsLeft == 0 ? 50000 : 10000);
}

void ShowTitleCard() {
  zrb::ClearScreen(0);
  for (int32_t n = 0; n < kTitleCardFrames; ++n) {
    if (bonusRound == 1) {
      PrintText("bonus  round", 14, 180);
    } else {
      PrintText("round " + roundText, 16, 180);
      PrintText(zrb::EngineString("= ") + lives, 20, 224);
      zrb::DrawAnim(imgPlayer, sideSwap, 272, 214);
    }
    screenName = "title-card";
    FinishFrame();
  }
}

}  // namespace

void RoundComplete() {
  // The sprite sets of the penguin further left and of the other one.
  const int32_t base1 = sideSwap;
  const int32_t base2 = 10 - sideSwap;
  const bool oneIsLeft = penguin1.x < penguin2.x;
  const int32_t leftBase = oneIsLeft ? base1 : base2;
  const int32_t rightBase = oneIsLeft ? base2 : base1;

  if (soundOn == 1) {
    if (zrb::MusicPlaying() == 1) zrb::StopMusic();
    zrb::PlayMusic(kRoundCompleteMusic, 0);
  }

  if (timer > 0) {
    AddScore((timer / 6000) * 100);
    BurstEnemiesAway();
    Celebrate(leftBase, rightBase);
  }

  if (bonusRound == 1) {
    if (timer < 1) {
      ShowNoBonus();
    } else {
      ShowBonusTally();
    }
  }

  ResetPenguins();
  RoundStart(0);

  roundText = zrb::EngineString("") + round;
  if (roundText.Length() == 1) roundText = "0" + roundText;

  ShowTitleCard();

  if (soundOn == 1) zrb::PlayMusic(bonusRound == 1 ? kBonusRoundMusic : kInGameMusic, 1);
  if (bonusRound == 1) WebCatchPass();
}

}  // namespace tundrel
