// The engine's random numbers.
#pragma once

#include <cstdint>

namespace zrb {

// A whole number in 0..n inclusive: the next generator word modulo n + 1. n < 1 gives 0
// and leaves the generator untouched.
int32_t Random(int32_t n);
// Restarts the generator from the given seed; the same seed gives the same draws.
void SeedRandom(uint32_t seed);

}  // namespace zrb
