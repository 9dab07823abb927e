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
  for (int i = 0; i < kSize; ++i) {
    const uint32_t x = memory_[i];
    switch (i & 3) {
      case 0:
        a_ ^= a_ << 13;
        break;
      case 1:
        a_ ^= a_ >> 6;
        break;
      case 2:
        a_ ^= a_ << 2;
        break;
      default:
        a_ ^= a_ >> 16;
        break;
    }
    a_ += memory_[(i + 128) & (kSize - 1)];
    const uint32_t y = memory_[(x >> 2) & (kSize - 1)] + a_ + b_;
    memory_[i] = y;
    b_ = memory_[(y >> 10) & (kSize - 1)] + x;
    results_[i] = b_;
  }
}

}  // namespace zrb::values
