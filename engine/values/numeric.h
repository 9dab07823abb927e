// The engine's numeric operations. Angles are in degrees.
#pragma once

#include <cstdint>

namespace zrb {

// Remainder of truncating division (its sign follows a); b = 0 gives 0. The most negative
// whole number modulo -1 gives 0 instead of trapping.
int32_t Mod(int32_t a, int32_t b);
// fmod(x, y); y = 0 gives 0.
double FMod(double x, double y);

// The most negative whole number has no positive counterpart; it gives the largest one.
int32_t Abs(int32_t x);
double Abs(double x);
int32_t Min(int32_t a, int32_t b);
double Min(double a, double b);
int32_t Max(int32_t a, int32_t b);
double Max(double a, double b);

double Sin(double degrees);
double Cos(double degrees);
double Tan(double degrees);
// atan2(y, x) in degrees, -180..180.
double Atan(double y, double x);
// acos in degrees; x >= 1 gives 0 and x <= -1 gives 180.
double Acos(double x);
double Sqrt(double x);
double Pow(double x, double y);

// A double to a whole number, truncating toward zero. Values beyond the 32-bit range
// saturate and not-a-number gives 0, where a bare conversion would be undefined.
int32_t TruncateToInt(double x);

}  // namespace zrb
