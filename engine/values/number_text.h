// The exact rules by which numbers become text and text becomes numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/values/engine_string.h"

namespace zrb {

// Plain decimal digits with a leading "-" for negatives: 1234, -7, 0. Capacity 16.
EngineString ToText(int32_t number);
// Ten significant digits. Exponents -1..9 print in fixed form without trailing zeros or a
// trailing ".": 3, 0.5, 12.25, 1234567890. Others print in exponent form with the first
// digit, a ".", the remaining digits, and a signed exponent of at least three digits:
// 1.e+012, 5.e-002, 1.5e+012. Ties at the tenth digit round away from zero. Both zeros
// print as 0; infinities as inf and -inf; not-a-number as nan. Capacity 64.
EngineString ToText(double number);
EngineString ToText(char) = delete;
EngineString ToText(bool) = delete;

// atoi rules: leading white space, an optional sign, decimal digits up to the first other
// character; no digits gives 0. Values beyond the 32-bit range saturate.
int32_t TextToInt(std::string_view text);
// atof rules: leading white space, an optional sign, digits with an optional "." and an
// optional exponent; no digits gives 0. Too large gives an infinity, too small 0.
// Hexadecimal forms and the words inf/nan are not read (they give 0).
double TextToDouble(std::string_view text);

// Length of the text the number prints as.
int32_t NumberLength(int32_t number);
int32_t NumberLength(double number);

namespace values {

// Largest text either formatter writes, terminator included.
inline constexpr size_t kNumberTextMax = 32;
// Write the text and a zero byte into out (kNumberTextMax bytes); return the length.
size_t FormatWhole(int32_t number, char* out);
size_t FormatDouble(double number, char* out);

}  // namespace values
}  // namespace zrb
