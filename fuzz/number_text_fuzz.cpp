// Numbers to text and back. Whole numbers must print as printf's "%d" and read back; doubles
// must print the value rounded to ten significant digits (exact ties away from zero, decided
// on the exact decimal expansion printf gives), in fixed form for exponents -1..9 and in
// exponent form otherwise; arbitrary texts must read as strtol and strtod read them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/values/number_text.h"
#include "fuzz/fuzz_support.h"
#include "fuzz/reference_numbers.h"

namespace {

using zrb::fuzz::ReferenceDouble;
using zrb::fuzz::ReferenceInt;

// The value rounded to ten significant digits, as "d.ddddddddde<exponent>", and the exponent.
std::string ReferenceTenDigits(double magnitude, int& exponent) {
  static char exact[1200];
  std::snprintf(exact, sizeof exact, "%.800e", magnitude);
  // exact: d '.' 800 digits 'e' exponent
  std::string digits;
  digits += exact[0];
  digits.append(exact + 2, 800);
  exponent = std::atoi(std::strchr(exact, 'e') + 1);
  // The expansion is exact, so an eleventh digit of 5 or more means at least half a unit of
  // the tenth: up, ties included (away from zero, as the magnitude grows).
  const bool up = digits[10] >= '5';
  digits.resize(10);
  if (up) {
    int i = 9;
    while (i >= 0 && digits[static_cast<size_t>(i)] == '9')
      digits[static_cast<size_t>(i--)] = '0';
    if (i >= 0) {
      ++digits[static_cast<size_t>(i)];
    } else {
      digits[0] = '1';
      ++exponent;
    }
  }
  return digits.substr(0, 1) + "." + digits.substr(1) + "e" + std::to_string(exponent);
}

void CheckWhole(int32_t number) {
  char text[zrb::values::kNumberTextMax];
  const size_t length = zrb::values::FormatWhole(number, text);
  char expected[32];
  std::snprintf(expected, sizeof expected, "%d", number);
  FUZZ_CHECK(std::strcmp(text, expected) == 0);
  FUZZ_CHECK(length == std::strlen(expected));
  FUZZ_CHECK(zrb::NumberLength(number) == static_cast<int32_t>(length));
  FUZZ_CHECK(zrb::TextToInt(text) == number);
  FUZZ_CHECK(std::string_view(zrb::ToText(number)) == text);
}

void CheckDouble(double number) {
  char text[zrb::values::kNumberTextMax];
  const size_t length = zrb::values::FormatDouble(number, text);
  FUZZ_CHECK(length == std::strlen(text));
  FUZZ_CHECK(zrb::NumberLength(number) == static_cast<int32_t>(length));
  FUZZ_CHECK(std::string_view(zrb::ToText(number)) == text);
  if (std::isnan(number)) {
    FUZZ_CHECK(std::strcmp(text, "nan") == 0);
    return;
  }
  if (std::isinf(number)) {
    FUZZ_CHECK(std::strcmp(text, number < 0 ? "-inf" : "inf") == 0);
    return;
  }
  if (number == 0) {
    FUZZ_CHECK(std::strcmp(text, "0") == 0);
    return;
  }
  int exponent = 0;
  const std::string reference = ReferenceTenDigits(std::fabs(number), exponent);
  // The printed decimal is the rounded one: both read back to the same double.
  const double printed = std::strtod(text, nullptr);
  const double expected = std::strtod(reference.c_str(), nullptr);
  FUZZ_CHECK(printed == (number < 0 ? -expected : expected));
  FUZZ_CHECK(zrb::TextToDouble(text) == printed);
  const char* e = std::strchr(text, 'e');
  if (exponent >= -1 && exponent <= 9) {
    FUZZ_CHECK(e == nullptr);
    if (std::strchr(text, '.')) FUZZ_CHECK(text[length - 1] != '0' && text[length - 1] != '.');
  } else {
    FUZZ_CHECK(e != nullptr && (e[1] == '+' || e[1] == '-') && std::strlen(e + 2) >= 3);
    FUZZ_CHECK(std::atoi(e + 1) == exponent);
    FUZZ_CHECK(e[-1] != '0');
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  CheckWhole(input.ConsumeIntegral<int32_t>());
  uint64_t bits = input.ConsumeIntegral<uint64_t>();
  double number = 0;
  std::memcpy(&number, &bits, sizeof number);
  CheckDouble(number);
  CheckDouble(input.ConsumeFloatingPoint<double>());

  const std::string text = input.ConsumeRemainingBytesAsString();
  FUZZ_CHECK(zrb::TextToInt(text) == ReferenceInt(text.c_str()));
  const double value = zrb::TextToDouble(text);
  const double reference = ReferenceDouble(text.c_str());
  FUZZ_CHECK(value == reference || (std::isnan(value) && std::isnan(reference)));
  return 0;
}
