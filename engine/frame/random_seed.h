// Seeding the engine's random generator at start-up.
#pragma once

#include <cstdint>

namespace zrb::frame {

void SeedEngineRandom(uint32_t seed);

// The seed start-up used last.
uint32_t LastEngineSeed();

}  // namespace zrb::frame
