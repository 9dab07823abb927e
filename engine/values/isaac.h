// The ISAAC generator with the engine's own seeding.
#pragma once

#include <array>
#include <cstdint>

namespace zrb::values {

class Isaac {
 public:
  static constexpr int kSize = 256;

  // Seeds with a single 32-bit value: no mixing rounds before the first pass; the first pass
  // adds the seed to the first mixing word only, the second pass adds the memory words;
  // then one generation round runs.
  void Seed(uint32_t seed);
  // One ISAAC generation round: refills all 256 result words.
  void GenerationRound();
  // A whole generation round per draw; the draw is result word 0.
  uint32_t Draw() {
    GenerationRound();
    return results_[0];
  }
  const std::array<uint32_t, kSize>& Results() const { return results_; }

 private:
  std::array<uint32_t, kSize> memory_{};
  std::array<uint32_t, kSize> results_{};
  uint32_t a_ = 0;
  uint32_t b_ = 0;
  uint32_t c_ = 0;
};

}  // namespace zrb::values
