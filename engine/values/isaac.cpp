#include "engine/values/isaac.h"

namespace zrb::values {
namespace {

constexpr uint32_t kGoldenRatio = 0x9e3779b9;

// ISAAC's mix step over the eight seeding words.
void Mix(std::array<uint32_t, 8>& w) {
  w[0] ^= w[1] << 11;
  w[3] += w[0];
  w[1] += w[2];
  w[1] ^= w[2] >> 2;
  w[4] += w[1];
  w[2] += w[3];
  w[2] ^= w[3] << 8;
  w[5] += w[2];
  w[3] += w[4];
  w[3] ^= w[4] >> 16;
  w[6] += w[3];
  w[4] += w[5];
  w[4] ^= w[5] << 10;
  w[7] += w[4];
  w[5] += w[6];
  w[5] ^= w[6] >> 4;
  w[0] += w[5];
  w[6] += w[7];
  w[6] ^= w[7] << 8;
  w[1] += w[6];
  w[7] += w[0];
  w[7] ^= w[0] >> 9;
  w[2] += w[7];
  w[0] += w[1];
}

}  // namespace

void Isaac::Seed(uint32_t seed) {
  memory_.fill(0);
  results_.fill(0);
  a_ = b_ = c_ = 0;
  std::array<uint32_t, 8> words;
  words.fill(kGoldenRatio);
  for (int i = 0; i < kSize; i += 8) {
    words[0] += seed;
    Mix(words);
    for (int k = 0; k < 8; ++k)
      memory_[i + k] = words[k];
  }
  for (int i = 0; i < kSize; i += 8) {
    for (int k = 0; k < 8; ++k)
      words[k] += memory_[i + k];
    Mix(words);
    for (int k = 0; k < 8; ++k)
      memory_[i + k] = words[k];
  }
  GenerationRound();
}

void Isaac::GenerationRound() {
  ++c_;
  b_ += c_;
  uint32_t a = a_;
  uint32_t b = b_;
  // One step per memory word; the shift of a rotates through 13 left, 6 right, 2 left and
  // 16 right with the word's position.
  const auto step = [&](int i, uint32_t shifted) {
    const uint32_t x = memory_[i];
    a = (a ^ shifted) + memory_[(i + kSize / 2) & (kSize - 1)];
    const uint32_t y = memory_[(x >> 2) & (kSize - 1)] + a + b;
    memory_[i] = y;
    b = memory_[(y >> 10) & (kSize - 1)] + x;
    results_[i] = b;
  };
  for (int i = 0; i < kSize; i += 4) {
    step(i, a << 13);
    step(i + 1, a >> 6);
    step(i + 2, a << 2);
    step(i + 3, a >> 16);
  }
  a_ = a;
  b_ = b;
}

}  // namespace zrb::values
