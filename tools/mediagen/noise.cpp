#include "tools/mediagen/noise.h"

#include <cmath>

namespace mediagen {

namespace {
double Lattice(int x, int y, uint32_t seed) {
  uint32_t h = static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u +
               seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFFFF) / double(0xFFFFFF);
}
double Smooth(double t) {
  return t * t * (3 - 2 * t);
}
}  // namespace

double ValueNoise(double x, double y, double cell, uint32_t seed) {
  double fx = x / cell, fy = y / cell;
  int ix = static_cast<int>(std::floor(fx)), iy = static_cast<int>(std::floor(fy));
  double tx = Smooth(fx - ix), ty = Smooth(fy - iy);
  double a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
  double c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

double FractalNoise(double x, double y, double cell, uint32_t seed, int octaves) {
  double sum = 0, weight = 0, amp = 1;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * ValueNoise(x, y, cell, seed + 101u * o);
    weight += amp;
    amp *= 0.5;
    cell *= 0.5;
    if (cell < 1) break;
  }
  return sum / weight;
}

}  // namespace mediagen
