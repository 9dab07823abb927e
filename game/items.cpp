// Items: random pick-ups in normal rounds, hearts and the power item in bonus rounds, and the
// scoring rule every gain follows.
#include "engine/audio/sound.h"
#include "engine/graphics/draw.h"
#include "engine/values/numeric.h"
#include "engine/values/random.h"
#include "game/catalogue.h"
#include "game/effects.h"
#include "game/maze.h"
#include "game/record_lists.h"
#include "game/state.h"
#include "game/webs_items.h"

namespace tundrel {
namespace {

constexpr int32_t kHeart = 2;
constexpr int32_t kPowerItem = 12;
constexpr int32_t kExtraLife = 20;
constexpr int32_t kItemLife = 300;
void PlaceBonusMarks(int32_t count, int32_t columnBase, int32_t columnRange) {
  for (int32_t n = 0; n < count; ++n) {
    int32_t column = 0;
    int32_t row = 0;
    const bool found = PickFloorCell(
        [&](int32_t& c, int32_t& r) {
          c = zrb::Random(columnRange) + columnBase;
          r = zrb::Random(9);
        },
        {columnBase, columnBase + columnRange, 0, 9}, column, row);
    if (found) mazeGrid(column, row) = 1;
  }
}

void ApplyItem(const ItemRecord& item) {
  switch (item.type) {
    case kHeart:
      AddScore(800);
      SpawnFloater(item.x, item.y, 7);
      break;
    case kPowerItem:
      AddScore(800);
      penguinSteps = 2;
      SpawnFloater(item.x, item.y, 7);
      break;
    case 13:
      AddScore(500);
      SpawnFloater(item.x, item.y, 4);
      break;
    case 14:
      AddScore(1000);
      SpawnFloater(item.x - 16, item.y, 8);
      SpawnFloater(item.x + 16, item.y, 9);
      break;
    case 15:
      AddScore(5000);
      SpawnFloater(item.x - 16, item.y, 12);
      SpawnFloater(item.x + 16, item.y, 13);
      break;
    case 16:
      AddScore(2000);
      SpawnFloater(item.x - 16, item.y, 10);
      SpawnFloater(item.x + 16, item.y, 11);
      break;
    case 17:
      AddScore(300);
      SpawnFloater(item.x, item.y, 2);
      break;
    case 18:
      AddScore(700);
      SpawnFloater(item.x, item.y, 6);
      break;
    case 19:
      AddScore(400);
      SpawnFloater(item.x, item.y, 3);
      break;
    case kExtraLife:
      lives += 1;
      extraLifeDue = 0;
      if (soundOn == 1) zrb::PlaySound(sndExtraLife);
      SpawnBurst(item.x, item.y, BurstSize::kLarge);
      break;
    default:
      break;
  }
}

bool TouchesPenguin(const ItemRecord& item) {
  return zrb::AnimCollision(imgItems, item.type, item.x, item.y, imgPlayer, 0, penguin1.x,
                            penguin1.y) != 0 ||
         zrb::AnimCollision(imgItems, item.type, item.x, item.y, imgPlayer, 0, penguin2.x,
                            penguin2.y) != 0;
}

}  // namespace

void AddScore(int32_t points) {
  score += easyMode == 1 ? points / 10 : points;
}

void SpawnItem(int32_t cellX, int32_t cellY, int32_t type, int32_t withSparkles) {
  ItemRecord item;
  item.type = type;
  item.x = 32 * cellX + 48;
  item.y = 32 * cellY + 48;
  item.bob = 0;
  item.phase = 0;
  item.life = kItemLife;
  item.shadowAngle = 0;
  zrb::AppendArray(items, item);
  if (withSparkles == 1) SpawnSparkles(33 * cellX + 48, 33 * cellY + 32);
  if (soundOn == 1) zrb::PlaySound(sndItem1);
}

void SpawnRandomItem() {
  int32_t column = 0;
  int32_t row = 0;
  if (bonusRound == 1) {
    if (powerItemGiven == 0 && timer <= 16999 && zrb::Random(200) == 20) {
      const bool found = PickFloorCell(
          [](int32_t& c, int32_t& r) {
            c = zrb::Random(16);
            r = zrb::Random(6) + 5;
          },
          {0, 16, 5, 11}, column, row);
      if (found) SpawnItem(column, row, kPowerItem, 1);
      powerItemGiven = 1;
    }
    return;
  }
  if (randomItemActive != 0 || timer > 41999 || zrb::Random(160) != 80) return;
  int32_t type = 0;
  const int32_t k = zrb::Random(100);
  if (k >= 25) {
    type = zrb::Random(6) + 13;
  } else if (extraLifeDue == 1) {
    type = kExtraLife;
  } else if (powerItemGiven != 1) {
    type = kPowerItem;
    powerItemGiven = 1;
  } else {
    type = zrb::Random(6) + 13;
  }
  const bool found = PickFloorCell(
      [](int32_t& c, int32_t& r) {
        c = zrb::Random(16);
        r = zrb::Random(8) + 3;
      },
      {0, 16, 3, 11}, column, row);
  if (!found) return;
  SpawnItem(column, row, type, 1);
  randomItemActive = 1;
}

void UpdateItems() {
  int32_t takenThisFrame = 0;
  int32_t i = 0;
  while (i < RecordCount(items)) {
    ItemRecord& item = items(i);
    zrb::DrawAnim(imgItems, item.type, item.x, zrb::TruncateToInt((item.y - 4) - item.bob));
    item.phase += 8;
    item.bob = 4 * zrb::Sin(item.phase);
    if (TouchesPenguin(item)) {
      const ItemRecord taken = item;
      SpawnRing(taken.x, taken.y);
      if (soundOn == 1) zrb::PlaySound(sndItemTaken);
      randomItemActive = 0;
      takenThisFrame = 1;
      ApplyItem(taken);
      RemoveRecord(items, i);
      continue;
    }
    item.life -= 1;
    // An item that runs out in the frame in which another was taken lives on a little.
    if (takenThisFrame == 0 && item.life < 0) {
      randomItemActive = 0;
      if (bonusRound == 0) {
        SpawnSparkles(item.x, item.y);
        if (soundOn == 1) zrb::PlaySound(sndItem2);
        RemoveRecord(items, i);
        continue;
      }
    }
    ++i;
  }
}

void SetupBonusHearts() {
  PlaceBonusMarks(zrb::Random(5) + 3, 0, 7);
  PlaceBonusMarks(zrb::Random(5) + 3, 7, 6);
  for (int32_t row = 0; row < kMazeRows; ++row) {
    for (int32_t column = 0; column < kMazeColumns; ++column) {
      if (mazeGrid(column, row) != 1) continue;
      mazeGrid(column, row) = 0;
      SpawnItem(column, row, kHeart, 0);
    }
  }
}

}  // namespace tundrel
