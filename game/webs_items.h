// Webs, the spray's hits, items and the scoring rule.
#pragma once

#include <cstdint>

#include "game/state.h"

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

// A web's pulling field is a set of penguins: 1 penguin 1, 2 penguin 2, 3 both (two penguins
// that walk into the same web are both pulled in).
inline constexpr int32_t kPullsBoth = 3;
// A web that is sprayed away or destroyed lets go of every penguin it holds or pulls.
void ReleaseWebPenguins(const WebRecord& web);

void SpawnRandomItem();
void SpawnItem(int32_t cellX, int32_t cellY, int32_t type, int32_t withSparkles);
void UpdateItems();
void SetupBonusHearts();

}  // namespace tundrel
