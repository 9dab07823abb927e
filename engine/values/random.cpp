#include "engine/values/random.h"

#include "engine/values/isaac.h"

namespace zrb {
namespace {

values::Isaac& Generator() {
  // Seeded with 0 until the engine's start-up seeds it from the clock.
  static values::Isaac generator = [] {
    values::Isaac seeded;
    seeded.Seed(0);
    return seeded;
  }();
  return generator;
}

}  // namespace

int32_t Random(int32_t n) {
  if (n < 1) return 0;
  const uint32_t range = static_cast<uint32_t>(n) + 1;
  return static_cast<int32_t>(Generator().Draw() % range);
}

void SeedRandom(uint32_t seed) {
  Generator().Seed(seed);
}

}  // namespace zrb
