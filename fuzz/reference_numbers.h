// What the C library reads from a text, by the engine's text-to-number rules: the reference
// the number targets compare the engine's own readers with.
#pragma once

#include <cstdint>
#include <cstdlib>

namespace zrb::fuzz {

inline bool IsCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// atoi rules with the 32-bit saturation: strtol reads the same grammar in base 10.
inline int32_t ReferenceInt(const char* text) {
  const long value = std::strtol(text, nullptr, 10);
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// atof rules without hexadecimal numbers and the words inf and nan, which read as 0: only a
// text whose number starts with a digit, or a "." and a digit, goes to strtod.
inline double ReferenceDouble(const char* text) {
  const char* p = text;
  while (IsCSpace(*p))
    ++p;
  const char* number = (*p == '+' || *p == '-') ? p + 1 : p;
  const auto digit = [](char c) { return c >= '0' && c <= '9'; };
  if (!(digit(number[0]) || (number[0] == '.' && digit(number[1])))) return 0.0;
  if (number[0] == '0' && (number[1] == 'x' || number[1] == 'X')) return 0.0;
  return std::strtod(text, nullptr);
}

}  // namespace zrb::fuzz
