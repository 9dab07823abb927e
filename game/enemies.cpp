#include "game/enemies.h"

#include <vector>

#include "engine/audio/music.h"
#include "engine/audio/sound.h"
#include "engine/graphics/draw.h"
#include "engine/path/find_path.h"
#include "engine/values/numeric.h"
#include "engine/values/random.h"
#include "game/catalogue.h"
#include "game/effects.h"
#include "game/maze.h"
#include "game/penguins.h"
#include "game/record_lists.h"
#include "game/state.h"
#include "game/webs_items.h"

namespace tundrel {
namespace {

constexpr int32_t kSpider = 0;
constexpr int32_t kFlame = 2;
constexpr int32_t kBird = 6;
constexpr int32_t kBirdCalmFrameOffset = 4;
constexpr int32_t kCellSteps = 32;
constexpr int32_t kMinPathCells = 4;
constexpr int32_t kHurryUpTimer = 18000;
// Random target draws before ChooseEnemyPath falls back to scanning every cell of the area.
// A sound maze accepts a draw within a few tries; a maze that offers no acceptable target
// would otherwise keep the game drawing for ever.
constexpr int32_t kMaxTargetDraws = 200;

struct SpawnEntry {
  int32_t kind;  // 1 spider, 2 flame, 3 bird
  int32_t area;
  int32_t cellX = -1;  // a fixed start cell, or -1 for a random one
  int32_t cellY = -1;
};

const std::vector<SpawnEntry>& SpawnList(int32_t list) {
  static const std::vector<std::vector<SpawnEntry>> kLists = {
      {},
      {{1, 2, 13, 4}},
      {{1, 2, 13, 4}, {1, 1, 3, 4}},
      {},
      {{1, 0}, {1, 1}, {1, 2}, {1, 3}},
      {{1, 0}, {1, 0}, {1, 1}, {1, 2}, {1, 3}},
      {{1, 0}, {1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 3}},
      {{1, 0}, {1, 0}, {1, 1}, {1, 1}, {1, 2}, {1, 2}, {1, 3}},
      {{1, 0}, {1, 1}, {1, 2}, {1, 3}},
      {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 3}, {3, 0}},
      {{1, 0}, {1, 0}, {1, 1}, {1, 1}, {1, 2}, {1, 2}, {3, 0}},
      {{1, 0}, {1, 1}, {1, 1}, {1, 2}, {1, 2}, {1, 3}, {1, 3}, {3, 0}},
      {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {3, 0}},
      {{1, 1}, {1, 2}, {1, 3}, {3, 0}},
      {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {1, 3}, {3, 0}, {2, 0}},
      {{1, 0}, {1, 1}, {1, 2}, {1, 2}, {1, 3}, {3, 0}, {2, 0}, {2, 0}},
      {{1, 0}, {1, 2}, {1, 3}, {3, 0}, {2, 0}},
      {{1, 0}, {1, 1}, {1, 2}, {1, 3}, {3, 0}, {2, 0}, {2, 0}},
      {{1, 1}, {1, 2}, {1, 3}, {3, 0}},
      {{1, 0}, {1, 1}, {1, 2}, {1, 2}, {1, 3}, {3, 0}, {2, 0}, {2, 0}},
      {{1, 0}, {1, 2}, {1, 3}, {3, 0}, {2, 0}},
  };
  static const std::vector<SpawnEntry> kNone;
  if (list < 1 || list >= static_cast<int32_t>(kLists.size())) return kNone;
  return kLists[list];
}

// The cells an area may use: the start cell ranges, and (with the same columns) the targets.
struct AreaColumns {
  int32_t base;
  int32_t range;
};

AreaColumns ColumnsOf(int32_t area) {
  switch (area) {
    case 1:
      return {0, 8};
    case 2:
      return {8, 8};
    default:
      return {0, 16};
  }
}

int32_t TargetRowRange(int32_t area, int32_t mode) {
  if (area == 3) return 4;
  return mode == kFlame ? 9 : 11;
}

bool AcceptTarget(int32_t cx, int32_t cy, int32_t tx, int32_t ty) {
  if (MazeCode(tx, ty) != 0 || (tx == cx && ty == cy)) return false;
  return zrb::FindPath(costGrid, pathResult, 0.0, cx, cy, tx, ty) >= kMinPathCells;
}

// Every acceptable target of the area, one of them at random; the own cell (and no path)
// when there is none, so the enemy stays where it is and tries again at its next step.
CellTarget ScanForTarget(int32_t cx, int32_t cy, int32_t area, int32_t mode) {
  const AreaColumns columns = ColumnsOf(area);
  const int32_t rows = TargetRowRange(area, mode);
  std::vector<CellTarget> candidates;
  for (int32_t ty = 0; ty <= rows; ++ty) {
    for (int32_t tx = columns.base; tx <= columns.base + columns.range; ++tx) {
      if (AcceptTarget(cx, cy, tx, ty)) candidates.push_back({tx, ty});
    }
  }
  if (candidates.empty()) {
    zrb::RedimArray(pathResult, 0);
    return {cx, cy};
  }
  const CellTarget target = candidates[zrb::Random(static_cast<int32_t>(candidates.size()) - 1)];
  AcceptTarget(cx, cy, target.x, target.y);
  return target;
}

void WalkOneStep(EnemyRecord& enemy) {
  if (!enemy.moves.Empty()) {
    switch (enemy.moves.c_str()[0]) {
      case '<':
        enemy.x -= 1;
        if (enemy.type == kFlame) enemy.facing = 12;
        break;
      case '>':
        enemy.facing = 0;
        enemy.x += 1;
        break;
      case '^':
        enemy.y -= 1;
        break;
      case '|':
        enemy.y += 1;
        break;
      default:
        break;
    }
    enemy.stepCountdown -= 1;
    if (enemy.stepCountdown <= 0) {
      enemy.stepCountdown = kCellSteps;
      enemy.moves = zrb::Mid(enemy.moves, 1, -1);
    }
  }
  enemy.animCounter += 1;
  if (enemy.animCounter >= 18) {
    enemy.animCounter = 0;
    enemy.animFrame += 1;
    if (enemy.animFrame >= (enemy.type == kSpider ? 2 : 4)) enemy.animFrame = 0;
  }
  if (enemy.moves.Empty()) {
    // It stands exactly on its target cell: on to a new one.
    const CellTarget target =
        ChooseEnemyPath(enemy.targetCellX, enemy.targetCellY, enemy.area, enemy.type);
    enemy.targetCellX = target.x;
    enemy.targetCellY = target.y;
    enemy.moves = PathToMoves(FloorDiv(zrb::TruncateToInt(enemy.x) - 48, 32),
                              FloorDiv(zrb::TruncateToInt(enemy.y) - 48, 32));
    enemy.stepCountdown = kCellSteps;
  }
}

void SetHeading(EnemyRecord& enemy, double angle) {
  enemy.dx = enemy.speed * zrb::Sin(angle);
  enemy.dy = -enemy.speed * zrb::Cos(angle);
}

void FlyOneStep(EnemyRecord& bird) {
  bird.x += bird.dx;
  bird.y += bird.dy;
  bool turned = false;
  double angle = 0;
  if (bird.x < 80) {
    angle = zrb::Random(90) + 45;
    turned = true;
  }
  if (bird.x > 528) {
    angle = zrb::Random(90) + 225;
    turned = true;
  }
  if (bird.y < 80) bird.dy = zrb::Abs(bird.dy);
  // Away from the bottom edge, as from the top one; flipping the sign instead could leave a
  // bird that is turned there while below the edge jittering along it.
  if (bird.y > 368) bird.dy = -zrb::Abs(bird.dy);
  if (turned) {
    SetHeading(bird, angle);
    bird.facing = bird.dx >= 0 ? 0 : 2;
  }
  bird.animCounter += 1;
  if (bird.animCounter >= 14) {
    bird.animCounter = 0;
    bird.animFrame = 1 - bird.animFrame;
  }
}

int32_t EnemyFrame(const EnemyRecord& enemy) {
  int32_t frame = enemy.animFrame + enemy.type + enemy.facing;
  if (enemy.type == kBird && birdCalm > 0) frame += kBirdCalmFrameOffset;
  return frame;
}

bool TouchesFreePenguin(const Penguin& penguin, const EnemyRecord& enemy) {
  return penguin.webState == 0 &&
         zrb::AnimCollision(imgPlayer, 0, penguin.x, penguin.y, imgEnemies, 0,
                            zrb::TruncateToInt(enemy.x), zrb::TruncateToInt(enemy.y)) != 0;
}

// A spider or flame against both penguins. False when power mode destroyed it.
bool WalkerContacts(int32_t index) {
  const EnemyRecord enemy = enemies(index);
  for (int32_t which = 1; which <= 2; ++which) {
    Penguin& penguin = PenguinByNumber(which);
    if (!TouchesFreePenguin(penguin, enemy)) continue;
    SpawnBurst(penguin.x, penguin.y, BurstSize::kSmall);
    if (which == 1 && soundOn == 1) {
      zrb::PlaySound(enemy.type == kSpider ? sndHitSpider : sndSlot19);
    }
    if (penguinSteps == 2) {
      AddScore(200);
      RemoveRecord(enemies, index);
      return false;
    }
    AddCatchWeb(penguin.x, penguin.y, which);
    if (soundOn == 1) zrb::PlaySound(sndSuckIntoWeb);
    penguin.webState = 1;
    lossReason = enemy.type == kSpider ? 4 : 5;
  }
  return true;
}

EnemyRecord NewEnemy(int32_t type, int32_t cellX, int32_t cellY, int32_t area) {
  EnemyRecord enemy;
  enemy.x = 32 * cellX + 48;
  enemy.y = 32 * cellY + 48;
  enemy.startCellX = cellX;
  enemy.startCellY = cellY;
  enemy.type = type;
  enemy.area = area;
  enemy.stepCountdown = kCellSteps;
  enemy.speed = 1;
  enemy.facing = 0;
  return enemy;
}

void AddWithPath(EnemyRecord enemy, int32_t cellX, int32_t cellY, int32_t mode) {
  const CellTarget target = ChooseEnemyPath(cellX, cellY, enemy.area, mode);
  enemy.targetCellX = target.x;
  enemy.targetCellY = target.y;
  enemy.moves = PathToMoves(cellX, cellY);
  zrb::AppendArray(enemies, std::move(enemy));
}

}  // namespace

void SpawnRoundEnemies(int32_t list) {
  for (const SpawnEntry& entry : SpawnList(list)) {
    if (entry.cellX >= 0) {
      SpawnSpiderAt(entry.kind, entry.cellX, entry.cellY, entry.area);
    } else {
      SpawnEnemy(entry.kind, entry.area);
    }
  }
}

void SpawnEnemy(int32_t kind, int32_t area) {
  const int32_t type = kind == 1 ? kSpider : (kind == 3 ? kBird : kind);
  const AreaColumns columns = ColumnsOf(area);
  const int32_t rowRange = area == 3 ? 4 : 5;
  int32_t column = 0;
  int32_t row = 0;
  // A maze without floor where the area starts gets no enemy rather than an endless search.
  const bool found = PickFloorCell(
      [&](int32_t& c, int32_t& r) {
        c = zrb::Random(columns.range) + columns.base;
        r = zrb::Random(rowRange);
      },
      {columns.base, columns.base + columns.range, 0, rowRange}, column, row);
  if (!found) return;

  EnemyRecord enemy = NewEnemy(type, column, row, area);
  enemy.animFrame = zrb::Random(1);
  enemy.animCounter = 0;
  if (type == kBird && zrb::Random(10) <= 5) enemy.facing = 2;
  SetHeading(enemy, enemy.facing == 0 ? zrb::Random(90) + 45 : zrb::Random(90) + 225);
  AddWithPath(std::move(enemy), column, row, type);
}

void SpawnSpiderAt(int32_t kind, int32_t cellX, int32_t cellY, int32_t area) {
  EnemyRecord enemy = NewEnemy(kSpider, cellX, cellY, area);
  enemy.animFrame = 0;
  enemy.dx = 0;
  enemy.dy = 0;
  AddWithPath(std::move(enemy), cellX, cellY, kSpider);
}

CellTarget ChooseEnemyPath(int32_t cellX, int32_t cellY, int32_t area, int32_t mode) {
  const AreaColumns columns = ColumnsOf(area);
  for (int32_t attempt = 0; attempt < kMaxTargetDraws; ++attempt) {
    zrb::RedimArray(pathResult, 0);
    CellTarget target;
    target.x = zrb::Random(columns.range) + columns.base;
    if (area == 3) {
      target.y = zrb::Random(4);
    } else {
      target.y = mode == kFlame ? zrb::Random(9) : zrb::Random(11);
    }
    if (AcceptTarget(cellX, cellY, target.x, target.y)) return target;
  }
  return ScanForTarget(cellX, cellY, area, mode);
}

zrb::EngineString PathToMoves(int32_t cellX, int32_t cellY) {
  zrb::EngineString moves;
  int32_t x = cellX;
  int32_t y = cellY;
  const int32_t cells = zrb::ArraySize(pathResult, 0);
  for (int32_t i = 1; i < cells; ++i) {
    const int32_t nx = zrb::TruncateToInt(pathResult(i, 0));
    const int32_t ny = zrb::TruncateToInt(pathResult(i, 1));
    const char* move = nullptr;
    if (nx == x - 1) move = "<";
    if (nx == x + 1) move = ">";
    if (ny == y - 1) move = "^";
    if (ny == y + 1) move = "|";
    if (move != nullptr) moves += move;
    x = nx;
    y = ny;
  }
  return moves;
}

void UpdateEnemies(int32_t move) {
  for (int32_t repetition = 0; repetition < enemySteps; ++repetition) {
    for (int32_t i = 0; i < RecordCount(enemies); ++i) {
      EnemyRecord& enemy = enemies(i);
      zrb::DrawAnim(imgEnemies, EnemyFrame(enemy), zrb::TruncateToInt(enemy.x),
                    zrb::TruncateToInt(enemy.y));
      if (move != 1) continue;
      if (enemy.type == kSpider || enemy.type == kFlame) {
        WalkOneStep(enemy);
      } else if (enemy.type == kBird) {
        FlyOneStep(enemy);
      }
    }
  }
  // Hurry-up: late in a normal round the enemies go twice as fast, to faster music.
  if (bonusRound == 0 && timer < kHurryUpTimer && enemySteps == 1 && move == 1) {
    enemySteps = 2;
    if (soundOn == 1) {
      if (zrb::MusicPlaying() == 1) zrb::StopMusic();
      zrb::PlayMusic(kHurryUpMusic, 1);
    }
  }
}

void CheckEnemyContacts() {
  if (lossReason != 0) return;
  birdTouched = 0;
  int32_t i = 0;
  while (i < RecordCount(enemies)) {
    const int32_t type = enemies(i).type;
    if (type == kSpider || type == kFlame) {
      if (!WalkerContacts(i)) continue;
    } else if (type == kBird) {
      if (birdCalm > 0) birdCalm -= 1;
      const EnemyRecord& bird = enemies(i);
      if (birdCalm == 0 &&
          (TouchesFreePenguin(penguin1, bird) || TouchesFreePenguin(penguin2, bird))) {
        birdTouched = 1;
      }
    }
    ++i;
  }
  if (birdTouched == 1) SwapPenguins();
}

}  // namespace tundrel
