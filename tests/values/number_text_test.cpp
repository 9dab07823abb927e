#include "engine/values/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace zrb {
namespace {

template <typename Number>
std::string Text(Number value) {
  return std::string(std::string_view(ToText(value)));
}

TEST(NumberText, WholeNumbersArePlainDecimal) {
  EXPECT_EQ(Text(1234), "1234");
  EXPECT_EQ(Text(-7), "-7");
  EXPECT_EQ(Text(0), "0");
  EXPECT_EQ(Text(INT32_MIN), "-2147483648");
  EXPECT_EQ(ToText(5).Capacity(), 16u);
  EXPECT_EQ(NumberLength(INT32_MIN), 11);
}

TEST(NumberText, DoublesPrintTenSignificantDigits) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  // clang-format off
  const std::pair<double, const char*> cases[] = {
      {3.0, "3"}, {0.0, "0"}, {-0.0, "0"}, {0.5, "0.5"}, {12.25, "12.25"}, {-2.5, "-2.5"},
      {1.0 / 3, "0.3333333333"}, {-2.0 / 3, "-0.6666666667"}, {1e9, "1000000000"},
      {1e12, "1.e+012"}, {1.5e12, "1.5e+012"}, {0.05, "5.e-002"}, {1e-5, "1.e-005"},
      {-1.25e-300, "-1.25e-300"}, {123456789012.0, "1.23456789e+011"},
      {5e-324, "4.940656458e-324"}, {kInf, "inf"}, {-kInf, "-inf"},
      {std::numeric_limits<double>::quiet_NaN(), "nan"},
      // Rounding to ten digits can carry into a new leading digit, and so into the other form.
      {9999999999.5, "1.e+010"}, {9999999999.4, "9999999999"}, {0.099999999996, "0.1"},
      {0.099999999994, "9.999999999e-002"}, {-0.99999999996, "-1"},
      // Exact ties round away from zero; just below a tie the exact expansion decides.
      {1234567890.5, "1234567891"}, {-1234567890.5, "-1234567891"}, {123456789.25, "123456789.3"},
      {std::nextafter(123456789.25, 0.0), "123456789.2"}};
  // clang-format on
  for (const auto& [value, expected] : cases)
    EXPECT_EQ(Text(value), expected) << value;
  EXPECT_EQ(ToText(2.5).Capacity(), 64u);
  EXPECT_EQ(NumberLength(1e12), 7);
}

// The expected text built from the C library's correctly rounded digits; random values are
// practically never exact ties, where the two roundings could differ.
std::string FromPrintf(double value) {
  char sci[64];
  std::snprintf(sci, sizeof sci, "%.9e", std::fabs(value));
  std::string digits = sci[0] + std::string(sci + 2, 9);
  const int exponent = std::atoi(std::strchr(sci, 'e') + 1);
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();
  std::string text = value < 0 ? "-" : "";
  if (exponent < -1 || exponent > 9) {
    char tail[16];
    std::snprintf(tail, sizeof tail, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return text + digits[0] + "." + digits.substr(1) + tail;
  }
  if (exponent == -1) return text + "0." + digits;
  const size_t whole = static_cast<size_t>(exponent) + 1;
  digits.resize(std::max(digits.size(), whole), '0');
  const std::string fraction = digits.substr(whole);
  return text + digits.substr(0, whole) + (fraction.empty() ? "" : "." + fraction);
}

TEST(NumberText, DoublesAgreeWithCorrectlyRoundedDigitsAcrossMagnitudes) {
  std::mt19937_64 random(12345);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int i = 0; i < 20000; ++i) {
    const double value = (i % 2 ? -1 : 1) * mantissa(random) * std::pow(10.0, exponent(random));
    ASSERT_EQ(Text(value), FromPrintf(value)) << std::hexfloat << value;
  }
}

TEST(NumberText, TextToWholeNumberFollowsAtoi) {
  // clang-format off
  const std::pair<std::string_view, int32_t> cases[] = {{"12abc", 12},
      {" \t\n-42x", -42}, {"+7", 7}, {"3.9", 3}, {"abc", 0}, {"", 0}, {"- 5", 0}, {"0x1A", 0},
      {"99999999999", INT32_MAX}, {"-2147483648", INT32_MIN},
      {"-99999999999999999999", INT32_MIN}, {std::string_view("12\0" "34", 5), 12},
      {std::string_view("123456", 3), 123}};
  // clang-format on
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(TextToInt(text), expected) << text;
}

TEST(NumberText, TextToDoubleFollowsAtof) {
  constexpr double kInf = std::numeric_limits<double>::infinity();
  // clang-format off
  const std::pair<std::string_view, double> cases[] = {{"3.5", 3.5},
      {"  -2.5e3x", -2500}, {"+.5", 0.5}, {"5.", 5}, {"1e", 1}, {"1e+", 1}, {"12abc", 12},
      {"abc", 0}, {".", 0}, {"-", 0}, {"inf", 0}, {"0x1A", 0}, {"0.1", 0.1}, {"1e400", kInf},
      {"-1e400", -kInf}, {"123456e-400", 0}, {"0.0000001e-400", 0},
      {std::string_view("2.5e1", 3), 2.5}};
  // clang-format on
  for (const auto& [text, expected] : cases)
    EXPECT_EQ(TextToDouble(text), expected) << text;
}

}  // namespace
}  // namespace zrb
