// Webs, the spray's hits, items and the scoring rule.
#pragma once

#include <cstdint>

namespace tundrel {

// score += points, or points div 10 in easy mode.
void AddScore(int32_t points);

void UpdateWebs();
// The catch, pull and hold steps of UpdateWebs for every web, without drawing and without
// the power-mode rule (the start of a bonus round).
void WebCatchPass();
void AddWeb(int32_t cellX, int32_t cellY);
void AddCatchWeb(int32_t x, int32_t y, int32_t which);
void SprayWebs(int32_t strip, int32_t frame, int32_t sx, int32_t sy);
void SprayEnemies(int32_t strip, int32_t frame, int32_t sx, int32_t sy);

void SpawnRandomItem();
void SpawnItem(int32_t cellX, int32_t cellY, int32_t type, int32_t withSparkles);
void UpdateItems();
void SetupBonusHearts();

}  // namespace tundrel
