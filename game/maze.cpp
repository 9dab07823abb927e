#include "game/maze.h"

#include "engine/audio/music.h"
#include "engine/values/numeric.h"
#include "engine/values/random.h"
#include "game/catalogue.h"
#include "game/enemies.h"
#include "game/record_lists.h"
#include "game/state.h"
#include "game/webs_items.h"

namespace tundrel {
namespace {

constexpr int32_t kRoundTimer = 54059;
constexpr int32_t kBonusRoundTimer = 30059;
constexpr int32_t kBonusLayout = 3;
constexpr int32_t kLastStoredLayout = 40;
constexpr int32_t kLastOwnEnemyList = 20;

bool IsBonusLayout(int32_t layout) {
  return zrb::Mod(layout, 5) == 3;
}

int32_t LayoutCode(int32_t layout, int32_t column, int32_t row) {
  return static_cast<int32_t>(
      levelTable((layout - 1) * kLayoutCodes + row * kMazeColumns + column));
}

// A web start turns into a web on floor; the path grid follows the final code.
void SettleCell(int32_t column, int32_t row) {
  int32_t code = mazeGrid(column, row);
  if (code == 1) {
    AddWeb(column, row);
    code = 0;
  }
  mazeGrid(column, row) = code;
  costGrid(column, row) = code == 8 || code == 9 ? 0.0 : 9.0;
}

int32_t ChooseMixedHalfLayout() {
  int32_t layout = 0;
  do {
    layout = zrb::Random(37) + 3;
  } while (IsBonusLayout(layout));
  return layout;
}

// Copies columns first..last of rows 1..10 from the layout, or from its mirror image.
void CopyHalf(int32_t layout, int32_t first, int32_t last) {
  const bool straight = zrb::Random(10) <= 5;
  for (int32_t row = 1; row <= 10; ++row) {
    for (int32_t column = first; column <= last; ++column) {
      mazeGrid(column, row) = LayoutCode(layout, straight ? column : 16 - column, row);
    }
  }
}

void EmptyRoundLists() {
  ClearRecords(enemies);
  ClearRecords(items);
  ClearRecords(floaters);
  ClearRecords(webs);
  ClearRecords(sparkles);
}

}  // namespace

int32_t FloorDiv(int32_t value, int32_t divisor) {
  int32_t quotient = value / divisor;
  if ((value % divisor != 0) && ((value < 0) != (divisor < 0))) --quotient;
  return quotient;
}

int32_t MazeCode(int32_t column, int32_t row) {
  if (column < 0 || row < 0 || column >= zrb::ArraySize(mazeGrid, 0) ||
      row >= zrb::ArraySize(mazeGrid, 1)) {
    return 9;
  }
  return mazeGrid(column, row);
}

bool IsFreePoint(int32_t px, int32_t py) {
  return MazeCode(FloorDiv(px, 32), FloorDiv(py, 32)) < 8;
}

bool PickFloorCell(const std::function<void(int32_t& column, int32_t& row)>& draw,
                   const CellRegion& region, int32_t& column, int32_t& row) {
  constexpr int32_t kMaxCellDraws = 1000;
  for (int32_t attempt = 0; attempt < kMaxCellDraws; ++attempt) {
    draw(column, row);
    if (MazeCode(column, row) == 0) return true;
  }
  for (int32_t r = region.firstRow; r <= region.lastRow; ++r) {
    for (int32_t c = region.firstColumn; c <= region.lastColumn; ++c) {
      if (MazeCode(c, r) != 0) continue;
      column = c;
      row = r;
      return true;
    }
  }
  return false;
}

void BuildMaze(int32_t layout) {
  for (int32_t row = 0; row < kMazeRows; ++row) {
    for (int32_t column = 0; column < kMazeColumns; ++column) {
      mazeGrid(column, row) = LayoutCode(layout, column, row);
      SettleCell(column, row);
    }
  }
}

void BuildMixedMaze() {
  CopyHalf(ChooseMixedHalfLayout(), 1, 8);
  // Column 8, the centre wall, comes from the second layout.
  CopyHalf(ChooseMixedHalfLayout(), 8, 15);
  for (int32_t column = 0; column < kMazeColumns; ++column) {
    mazeGrid(column, 0) = 9;
    mazeGrid(column, kMazeRows - 1) = 9;
  }
  for (int32_t row = 0; row < kMazeRows; ++row) {
    mazeGrid(0, row) = 9;
    mazeGrid(kMazeColumns - 1, row) = 9;
  }
  for (int32_t row = 0; row < kMazeRows; ++row) {
    for (int32_t column = 0; column < kMazeColumns; ++column)
      SettleCell(column, row);
  }
}

void RoundStart(int32_t startMusic) {
  EmptyRoundLists();

  penguin1.webState = 0;
  penguin2.webState = 0;
  penguin1.spraying = 0;
  penguin2.spraying = 0;
  birdTouched = 0;
  birdCalm = 0;
  randomItemActive = 0;
  powerItemGiven = 0;

  round += 1;
  penguinSteps = 1;
  enemySteps = 1;
  lossReason = 0;
  extraLifeDue = bonusRound == 1 ? 1 : 0;
  bonusRound = zrb::Mod(round, 5) == 3 ? 1 : 0;

  backdropSlot = imgBack1 + zrb::Mod(round / 5, 5);

  if (bonusRound == 0) {
    if (round <= kLastStoredLayout) {
      BuildMaze(round);
    } else {
      BuildMixedMaze();
    }
    SpawnRoundEnemies(round <= kLastOwnEnemyList ? round : zrb::Random(13) + 6);
    wallFrame = zrb::Mod(round, 7);
    timer = kRoundTimer;
  } else {
    BuildMaze(kBonusLayout);
    // The mirrored penguin's start cell: it begins every bonus round caught.
    if (sideSwap == 0) AddWeb(7, 10);
    if (sideSwap == 10) AddWeb(9, 10);
    SetupBonusHearts();
    timer = kBonusRoundTimer;
    wallFrame = zrb::Mod(round / 5, 5) + 7;
  }

  if (soundOn == 1 && zrb::MusicPlaying() == 1) zrb::StopMusic();
  if (soundOn == 1 && startMusic == 1) zrb::PlayMusic(kInGameMusic, 1);
}

}  // namespace tundrel
