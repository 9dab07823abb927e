#include "engine/frame/random_seed.h"

namespace zrb::frame {
namespace {

uint32_t g_seed = 0;

}  // namespace

void SeedEngineRandom(uint32_t seed) {
  g_seed = seed;
}

uint32_t LastEngineSeed() {
  return g_seed;
}

}  // namespace zrb::frame
