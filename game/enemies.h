// Spiders, flames and birds.
#pragma once

#include <cstdint>

#include "engine/values/engine_string.h"

namespace tundrel {

struct CellTarget {
  int32_t x = 0;
  int32_t y = 0;
};

void SpawnRoundEnemies(int32_t list);
void SpawnEnemy(int32_t kind, int32_t area);
void SpawnSpiderAt(int32_t kind, int32_t cellX, int32_t cellY, int32_t area);
// Picks a target cell and fills pathResult with the way there.
CellTarget ChooseEnemyPath(int32_t cellX, int32_t cellY, int32_t area, int32_t mode);
// The moves of pathResult from the cell, one character per cell.
zrb::EngineString PathToMoves(int32_t cellX, int32_t cellY);
void UpdateEnemies(int32_t move);
void CheckEnemyContacts();

}  // namespace tundrel
