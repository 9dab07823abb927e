// Floaters (score labels, rings, bursts) and sparkles: decoration that never affects play.
#pragma once

#include <cstdint>

namespace tundrel {

enum class BurstSize { kSmall, kMedium, kLarge };

void SpawnFloater(int32_t x, int32_t y, int32_t type);
void SpawnRing(int32_t x, int32_t y);
void SpawnBurst(int32_t x, int32_t y, BurstSize size);
void SpawnSparkles(int32_t x0, int32_t y0);
void UpdateFloaters();
void UpdateSparkles();

}  // namespace tundrel
