// What the spray does: it frees webbed penguins, kills spiders (and flames in power mode) and
// turns birds away.
#include "engine/audio/sound.h"
#include "engine/graphics/draw.h"
#include "engine/values/numeric.h"
#include "engine/values/random.h"
#include "game/catalogue.h"
#include "game/effects.h"
#include "game/record_lists.h"
#include "game/state.h"
#include "game/webs_items.h"

namespace tundrel {
namespace {

constexpr int32_t kSpider = 0;
constexpr int32_t kFlame = 2;
constexpr int32_t kBird = 6;
constexpr int32_t kSprayBirdCalm = 120;

// In a bonus round penguin 1 can free its partner only from the partner's half.
bool SprayBlockedByBonusSide() {
  if (bonusRound != 1) return false;
  return (sideSwap == 0 && penguin1.x > 320) || (sideSwap == 10 && penguin1.x < 320);
}

void KillEnemy(int32_t index) {
  const EnemyRecord& enemy = enemies(index);
  const int32_t x = zrb::TruncateToInt(enemy.x);
  const int32_t y = zrb::TruncateToInt(enemy.y);
  const int32_t hitSound = enemy.type == kSpider ? sndHitSpider : sndSlot19;
  SpawnBurst(x, y, BurstSize::kMedium);
  AddScore(200);
  SpawnFloater(x, y, 1);
  if (soundOn == 1) zrb::PlaySound(hitSound);
  RemoveRecord(enemies, index);
}

void TurnBird(EnemyRecord& bird) {
  birdCalm = kSprayBirdCalm;
  if (soundOn == 1) zrb::PlaySound(sndHitBird);
  double angle = 0;
  if (bird.facing == 0) {
    bird.facing = 2;
    angle = zrb::Random(90) + 225;
  } else {
    bird.facing = 0;
    angle = zrb::Random(90) + 45;
  }
  bird.dx = bird.speed * zrb::Sin(angle);
  bird.dy = -bird.speed * zrb::Cos(angle);
}

}  // namespace

void SprayWebs(int32_t strip, int32_t frame, int32_t sx, int32_t sy) {
  if (SprayBlockedByBonusSide()) return;
  for (int32_t i = 0; i < RecordCount(webs); ++i) {
    const WebRecord web = webs(i);
    if (zrb::AnimCollision(strip, frame, sx, sy, imgWebs, 0, web.x, web.y) == 0) continue;
    SpawnBurst(web.x, web.y, BurstSize::kSmall);
    ReleaseWebPenguins(web);
    if (soundOn == 1) zrb::PlaySound(sndWebShot);
    AddScore(100);
    SpawnFloater(web.x, web.y, 0);
    RemoveRecord(webs, i);
    return;  // one web per spray frame
  }
}

void SprayEnemies(int32_t strip, int32_t frame, int32_t sx, int32_t sy) {
  zrb::DrawAnim(strip, frame, sx, sy);
  int32_t i = 0;
  while (i < RecordCount(enemies)) {
    EnemyRecord& enemy = enemies(i);
    const bool hit =
        zrb::AnimCollision(strip, frame, sx, sy, imgEnemies, 0, zrb::TruncateToInt(enemy.x),
                           zrb::TruncateToInt(enemy.y)) != 0;
    if (hit && (enemy.type == kSpider || (enemy.type == kFlame && penguinSteps == 2))) {
      KillEnemy(i);
      return;  // one spider or flame per spray frame
    }
    if (hit && enemy.type == kBird && birdCalm == 0) TurnBird(enemy);
    ++i;
  }
}

}  // namespace tundrel
