#include "engine/values/numeric.h"

#include <cmath>
#include <limits>

namespace zrb {
namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;
constexpr double kDegreesPerRadian = 57.29577951308232;

}  // namespace

int32_t Mod(int32_t a, int32_t b) {
  if (b == 0 || b == -1) return 0;
  return a % b;
}

double FMod(double x, double y) {
  return y == 0 ? 0.0 : std::fmod(x, y);
}

int32_t Abs(int32_t x) {
  if (x == std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::max();
  return x < 0 ? -x : x;
}

double Abs(double x) {
  return x >= 0 ? x : -x;
}

int32_t Min(int32_t a, int32_t b) {
  return a < b ? a : b;
}

double Min(double a, double b) {
  return a < b ? a : b;
}

int32_t Max(int32_t a, int32_t b) {
  return a > b ? a : b;
}

double Max(double a, double b) {
  return a > b ? a : b;
}

double Sin(double degrees) {
  return std::sin(degrees * kRadiansPerDegree);
}

double Cos(double degrees) {
  return std::cos(degrees * kRadiansPerDegree);
}

double Tan(double degrees) {
  return std::tan(degrees * kRadiansPerDegree);
}

double Atan(double y, double x) {
  return std::atan2(y, x) * kDegreesPerRadian;
}

double Acos(double x) {
  if (x >= 1) return 0.0;
  if (x <= -1) return 180.0;
  return std::acos(x) * kDegreesPerRadian;
}

double Sqrt(double x) {
  return std::sqrt(x);
}

double Pow(double x, double y) {
  return std::pow(x, y);
}

int32_t TruncateToInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<int32_t>::max();
  if (x <= -2147483648.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(x);
}

}  // namespace zrb
