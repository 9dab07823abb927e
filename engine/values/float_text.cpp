#include "engine/values/float_text.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace zrb::values {
namespace c_library {
namespace {

char* Put(char* first, char* last, const std::string& text) {
  if (text.size() > static_cast<size_t>(last - first)) return nullptr;
  std::memcpy(first, text.data(), text.size());
  return first + text.size();
}

std::string Printed(const char* format, int precision, double value) {
  const int length = std::snprintf(nullptr, 0, format, precision, value);
  if (length < 0) return {};
  std::string text(static_cast<size_t>(length) + 1, '\0');
  std::snprintf(text.data(), text.size(), format, precision, value);
  text.pop_back();
  return text;
}

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// The plain spelling of a positive value whose shortest digits are `digits` (no point) with
// the first digit at decimal exponent `exponent`. A whole number is spelt with all its exact
// digits, as to_chars does, not the shortest ones padded with zeros.
std::string PlainSpelling(double magnitude, const std::string& digits, int exponent) {
  const int count = static_cast<int>(digits.size());
  if (exponent < 0) return "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  if (exponent + 1 >= count) return Printed("%.*f", 0, magnitude);
  return digits.substr(0, static_cast<size_t>(exponent) + 1) + "." +
         digits.substr(static_cast<size_t>(exponent) + 1);
}

}  // namespace

char* FormatScientific(char* first, char* last, double value, int precision) {
  return Put(first, last, Printed("%.*e", precision, value));
}

char* FormatFixed(char* first, char* last, double value, int decimals) {
  return Put(first, last, Printed("%.*f", decimals, value));
}

char* FormatShortest(char* first, char* last, double value) {
  if (value == 0) return Put(first, last, std::signbit(value) ? "-0" : "0");
  const char* sign = value < 0 ? "-" : "";
  const double magnitude = std::fabs(value);
  // The fewest digits that read back as the value; 17 always do.
  std::string scientific;
  for (int precision = 0; precision <= 16; ++precision) {
    scientific = Printed("%.*e", precision, magnitude);
    if (std::strtod(scientific.c_str(), nullptr) == magnitude) break;
  }
  const size_t e = scientific.find('e');
  std::string digits = scientific.substr(0, e);
  if (digits.size() > 1) digits.erase(1, 1);  // the point
  const int exponent = std::atoi(scientific.c_str() + e + 1);
  const std::string plain = PlainSpelling(magnitude, digits, exponent);
  return Put(first, last, sign + (plain.size() <= scientific.size() ? plain : scientific));
}

ParsedDouble ParseDecimal(const char* first, const char* last, double& value, bool allowExponent) {
  const char* p = first;
  if (p < last && *p == '-') ++p;
  int digits = 0;
  for (; p < last && IsDigit(*p); ++p)
    ++digits;
  if (p < last && *p == '.') {
    ++p;
    for (; p < last && IsDigit(*p); ++p)
      ++digits;
  }
  if (digits == 0) return {first, ParseStatus::kInvalid};
  if (allowExponent && p < last && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    if (q < last && (*q == '+' || *q == '-')) ++q;
    if (q < last && IsDigit(*q)) {
      while (q < last && IsDigit(*q))
        ++q;
      p = q;
    }
  }
  // strtod itself would also take hexadecimal and words; it only sees the decimal part.
  const std::string text(first, p);
  errno = 0;
  const double parsed = std::strtod(text.c_str(), nullptr);
  if (errno == ERANGE && (parsed == 0 || std::isinf(parsed))) {
    return {p, ParseStatus::kOutOfRange};
  }
  value = parsed;
  return {p, ParseStatus::kOk};
}

}  // namespace c_library

#if defined(__cpp_lib_to_chars)

char* FormatScientific(char* first, char* last, double value, int precision) {
  const auto result = std::to_chars(first, last, value, std::chars_format::scientific, precision);
  return result.ec == std::errc() ? result.ptr : nullptr;
}

char* FormatFixed(char* first, char* last, double value, int decimals) {
  const auto result = std::to_chars(first, last, value, std::chars_format::fixed, decimals);
  return result.ec == std::errc() ? result.ptr : nullptr;
}

char* FormatShortest(char* first, char* last, double value) {
  const auto result = std::to_chars(first, last, value);
  return result.ec == std::errc() ? result.ptr : nullptr;
}

ParsedDouble ParseDecimal(const char* first, const char* last, double& value, bool allowExponent) {
  // from_chars also reads the words "inf" and "nan", which are no numbers here.
  const char* start = first < last && *first == '-' ? first + 1 : first;
  if (start == last || (*start != '.' && (*start < '0' || *start > '9'))) {
    return {first, ParseStatus::kInvalid};
  }
  const auto result = std::from_chars(
      first, last, value, allowExponent ? std::chars_format::general : std::chars_format::fixed);
  if (result.ec == std::errc::invalid_argument) return {first, ParseStatus::kInvalid};
  return {result.ptr, result.ec == std::errc() ? ParseStatus::kOk : ParseStatus::kOutOfRange};
}

#else

char* FormatScientific(char* first, char* last, double value, int precision) {
  return c_library::FormatScientific(first, last, value, precision);
}

char* FormatFixed(char* first, char* last, double value, int decimals) {
  return c_library::FormatFixed(first, last, value, decimals);
}

char* FormatShortest(char* first, char* last, double value) {
  return c_library::FormatShortest(first, last, value);
}

ParsedDouble ParseDecimal(const char* first, const char* last, double& value, bool allowExponent) {
  return c_library::ParseDecimal(first, last, value, allowExponent);
}

#endif

}  // namespace zrb::values
