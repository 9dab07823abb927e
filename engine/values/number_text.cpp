#include "engine/values/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "engine/values/float_text.h"

namespace zrb {
namespace values {
namespace {

constexpr uint32_t kWholeBufferSize = 16;
constexpr uint32_t kDoubleBufferSize = 64;
constexpr int kSignificantDigits = 10;

// The ten significant digits of a positive finite value and the decimal exponent of the
// first one, after rounding.
struct TenDigits {
  char digits[kSignificantDigits];
  int exponent;
};

// Reads "d.dddd...e±x" as FormatScientific writes it.
void ReadScientific(const char* text, const char* end, char* digits, int wanted, int* exponent) {
  int count = 0;
  const char* p = text;
  for (; p < end && *p != 'e' && count < wanted; ++p) {
    if (*p != '.') digits[count++] = *p;
  }
  while (count < wanted)
    digits[count++] = '0';
  while (p < end && *p != 'e')
    ++p;
  int value = 0;
  if (p < end) std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, value);
  *exponent = value;
}

// Rounds to ten digits the way the digit-string formatter does: the eleventh digit of the
// exact decimal expansion decides, 5 and up rounding away from zero.
TenDigits RoundToTenDigits(double magnitude) {
  char eleven[kSignificantDigits + 1];
  int exponent = 0;
  char text[40];
  const char* written = FormatScientific(text, text + sizeof text, magnitude, kSignificantDigits);
  ReadScientific(text, written, eleven, kSignificantDigits + 1, &exponent);
  if (eleven[kSignificantDigits] == '5') {
    // The eleven-digit form was itself rounded, so a 5 there may stand for 4999... or for
    // an exact tie: only the exact expansion (at most 767 digits) can tell.
    char exact[800];
    written = FormatScientific(exact, exact + sizeof exact, magnitude, 766);
    ReadScientific(exact, written, eleven, kSignificantDigits + 1, &exponent);
  }
  TenDigits result{};
  std::memcpy(result.digits, eleven, kSignificantDigits);
  result.exponent = exponent;
  if (eleven[kSignificantDigits] >= '5') {
    int i = kSignificantDigits - 1;
    while (i >= 0 && result.digits[i] == '9')
      result.digits[i--] = '0';
    if (i >= 0) {
      ++result.digits[i];
    } else {
      result.digits[0] = '1';
      ++result.exponent;
    }
  }
  return result;
}

char* WriteExponent(char* p, int exponent) {
  *p++ = 'e';
  *p++ = exponent < 0 ? '-' : '+';
  const int magnitude = exponent < 0 ? -exponent : exponent;
  char digits[8];
  auto written = std::to_chars(digits, digits + sizeof digits, magnitude);
  for (ptrdiff_t width = written.ptr - digits; width < 3; ++width)
    *p++ = '0';
  std::memcpy(p, digits, static_cast<size_t>(written.ptr - digits));
  return p + (written.ptr - digits);
}

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view UpToZero(std::string_view text) {
  const size_t zero = text.find('\0');
  return zero == std::string_view::npos ? text : text.substr(0, zero);
}

constexpr int64_t kExponentSaturation = int64_t{1} << 50;

// For a number too large or too small for a double: a rough decimal exponent of the text
// "digits[.digits][e±digits]" decides which.
bool DecimalOverflows(std::string_view number) {
  size_t i = 0;
  int64_t position = 0;  // decimal exponent of the first nonzero digit
  bool seenNonzero = false;
  int64_t integerDigits = 0;
  int64_t leadingFractionZeros = 0;
  for (; i < number.size() && IsDigit(number[i]); ++i) {
    if (number[i] != '0') seenNonzero = true;
    if (seenNonzero) ++integerDigits;
  }
  if (i < number.size() && number[i] == '.') {
    for (++i; i < number.size() && IsDigit(number[i]); ++i) {
      if (!seenNonzero && number[i] == '0') ++leadingFractionZeros;
      if (number[i] != '0') seenNonzero = true;
    }
  }
  position = integerDigits > 0 ? integerDigits - 1 : -(leadingFractionZeros + 1);
  int64_t exponent = 0;
  if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
    ++i;
    bool negative = false;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) negative = number[i++] == '-';
    // Saturates far beyond any text's digit count, so the exponent still wins against
    // hundreds of thousands of digits.
    for (; i < number.size() && IsDigit(number[i]); ++i) {
      if (exponent < kExponentSaturation) exponent = exponent * 10 + (number[i] - '0');
    }
    if (negative) exponent = -exponent;
  }
  return position + exponent > 0;
}

}  // namespace

size_t FormatWhole(int32_t number, char* out) {
  auto written = std::to_chars(out, out + kNumberTextMax - 1, number);
  *written.ptr = '\0';
  return static_cast<size_t>(written.ptr - out);
}

size_t FormatDouble(double number, char* out) {
  char* p = out;
  if (std::isnan(number)) {
    std::memcpy(out, "nan", 4);
    return 3;
  }
  if (number < 0) *p++ = '-';
  if (std::isinf(number)) {
    std::memcpy(p, "inf", 4);
    return static_cast<size_t>(p + 3 - out);
  }
  if (number == 0) {
    // Negative zero prints like zero: a "-0" score or coordinate would only confuse.
    std::memcpy(out, "0", 2);
    return 1;
  }
  const TenDigits rounded = RoundToTenDigits(std::fabs(number));
  const int e = rounded.exponent;
  const char* digits = rounded.digits;
  int last = kSignificantDigits - 1;  // last digit that is not a trailing zero
  while (last > 0 && digits[last] == '0')
    --last;

  if (e < -1 || e > 9) {
    *p++ = digits[0];
    *p++ = '.';
    for (int i = 1; i <= last; ++i)
      *p++ = digits[i];
    p = WriteExponent(p, e);
  } else {
    if (e >= 0) {
      for (int i = 0; i <= e; ++i)
        *p++ = digits[i];
      *p++ = '.';
      for (int i = e + 1; i <= last; ++i)
        *p++ = digits[i];
    } else {
      *p++ = '0';
      *p++ = '.';
      for (int i = 0; i <= last; ++i)
        *p++ = digits[i];
    }
    if (p[-1] == '.') --p;
  }
  *p = '\0';
  return static_cast<size_t>(p - out);
}

}  // namespace values

EngineString ToText(int32_t number) {
  EngineString text;
  text.Overwrite(values::kWholeBufferSize,
                 [&](char* buffer, uint32_t) { values::FormatWhole(number, buffer); });
  return text;
}

EngineString ToText(double number) {
  EngineString text;
  text.Overwrite(values::kDoubleBufferSize,
                 [&](char* buffer, uint32_t) { values::FormatDouble(number, buffer); });
  return text;
}

int32_t TextToInt(std::string_view text) {
  text = values::UpToZero(text);
  size_t i = 0;
  while (i < text.size() && values::IsSpace(text[i]))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  int64_t value = 0;
  for (; i < text.size() && values::IsDigit(text[i]); ++i) {
    value = std::min(value * 10 + (text[i] - '0'), kLimit);
  }
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

double TextToDouble(std::string_view text) {
  text = values::UpToZero(text);
  size_t i = 0;
  while (i < text.size() && values::IsSpace(text[i]))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const std::string_view number = text.substr(i);
  const bool startsWithDigit =
      !number.empty() && (values::IsDigit(number[0]) ||
                          (number[0] == '.' && number.size() > 1 && values::IsDigit(number[1])));
  if (!startsWithDigit) return 0.0;
  double value = 0.0;
  const values::ParsedDouble parsed = values::ParseDecimal(
      number.data(), number.data() + number.size(), value, /*allowExponent=*/true);
  if (parsed.status == values::ParseStatus::kOutOfRange) {
    value = values::DecimalOverflows(number) ? std::numeric_limits<double>::infinity() : 0.0;
  } else if (parsed.status != values::ParseStatus::kOk) {
    value = 0.0;
  }
  return negative ? -value : value;
}

int32_t NumberLength(int32_t number) {
  char text[values::kNumberTextMax];
  return static_cast<int32_t>(values::FormatWhole(number, text));
}

int32_t NumberLength(double number) {
  char text[values::kNumberTextMax];
  return static_cast<int32_t>(values::FormatDouble(number, text));
}

}  // namespace zrb
