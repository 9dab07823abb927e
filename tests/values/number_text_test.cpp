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

std::string Text(double value) {
  return std::string(std::string_view(ToText(value)));
}

std::string Text(int32_t value) {
  return std::string(std::string_view(ToText(value)));
}

TEST(WholeNumberText, PlainDecimalDigits) {
  EXPECT_EQ(Text(1234), "1234");
  EXPECT_EQ(Text(-7), "-7");
  EXPECT_EQ(Text(0), "0");
  EXPECT_EQ(Text(INT32_MAX), "2147483647");
  EXPECT_EQ(Text(INT32_MIN), "-2147483648");
  EXPECT_EQ(ToText(5).Capacity(), 16u);
  EXPECT_EQ(NumberLength(-2147483647 - 1), 11);
  EXPECT_EQ(NumberLength(42), 2);
}

TEST(DoubleText, FixedFormDropsTrailingZerosAndPoint) {
  EXPECT_EQ(Text(3.0), "3");
  EXPECT_EQ(Text(0.0), "0");
  EXPECT_EQ(Text(-0.0), "0");
  EXPECT_EQ(Text(0.5), "0.5");
  EXPECT_EQ(Text(12.25), "12.25");
  EXPECT_EQ(Text(-2.5), "-2.5");
  EXPECT_EQ(Text(0.1), "0.1");
  EXPECT_EQ(Text(123.456), "123.456");
  EXPECT_EQ(Text(1.0 / 3.0), "0.3333333333");
  EXPECT_EQ(Text(-2.0 / 3.0), "-0.6666666667");
  EXPECT_EQ(Text(1e9), "1000000000");
  EXPECT_EQ(Text(1234567890.25), "1234567890");
  EXPECT_EQ(ToText(2.5).Capacity(), 64u);
}

TEST(DoubleText, ExponentFormHasThreeDigitsAndKeepsInnerPoint) {
  EXPECT_EQ(Text(1e12), "1.e+012");
  EXPECT_EQ(Text(1.5e12), "1.5e+012");
  EXPECT_EQ(Text(0.05), "5.e-002");
  EXPECT_EQ(Text(0.01), "1.e-002");
  EXPECT_EQ(Text(1e-5), "1.e-005");
  EXPECT_EQ(Text(-1e-5), "-1.e-005");
  EXPECT_EQ(Text(1e10), "1.e+010");
  EXPECT_EQ(Text(1e100), "1.e+100");
  EXPECT_EQ(Text(-1.25e-300), "-1.25e-300");
  EXPECT_EQ(Text(123456789012.0), "1.23456789e+011");
  EXPECT_EQ(Text(5e-324), "4.940656458e-324");
  EXPECT_EQ(Text(std::numeric_limits<double>::max()), "1.797693135e+308");
  EXPECT_EQ(NumberLength(1e12), 7);
}

TEST(DoubleText, RoundingDecidesTheFormAfterwards) {
  // Rounding to ten digits carries into a new leading digit and so into the other form.
  EXPECT_EQ(Text(9999999999.5), "1.e+010");
  EXPECT_EQ(Text(9999999999.4), "9999999999");
  EXPECT_EQ(Text(0.099999999996), "0.1");
  EXPECT_EQ(Text(0.099999999994), "9.999999999e-002");
  EXPECT_EQ(Text(-0.99999999996), "-1");
  // Exact ties at the tenth digit round away from zero.
  EXPECT_EQ(Text(1234567890.5), "1234567891");
  EXPECT_EQ(Text(-1234567890.5), "-1234567891");
  EXPECT_EQ(Text(123456789.25), "123456789.3");
  // Just below a tie: the exact expansion, not an eleven-digit rounding, decides.
  EXPECT_EQ(Text(std::nextafter(123456789.25, 0.0)), "123456789.2");
}

TEST(DoubleText, NonFiniteValuesGiveWords) {
  EXPECT_EQ(Text(std::numeric_limits<double>::infinity()), "inf");
  EXPECT_EQ(Text(-std::numeric_limits<double>::infinity()), "-inf");
  EXPECT_EQ(Text(std::numeric_limits<double>::quiet_NaN()), "nan");
}

// Builds the expected text from the C library's correctly rounded ten digits, for values
// that are not exact ties (random values practically never are).
std::string ExpectedFromPrintf(double value) {
  char scientific[64];
  std::snprintf(scientific, sizeof scientific, "%.9e", std::fabs(value));
  std::string digits;
  digits += scientific[0];
  digits += std::string(scientific + 2, 9);
  const int exponent = std::atoi(std::strchr(scientific, 'e') + 1);
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();
  std::string text = value < 0 ? "-" : "";
  if (exponent < -1 || exponent > 9) {
    char tail[16];
    std::snprintf(tail, sizeof tail, "e%c%03d", exponent < 0 ? '-' : '+', std::abs(exponent));
    text += digits.substr(0, 1) + "." + digits.substr(1) + tail;
  } else if (exponent == -1) {
    text += "0." + digits;
  } else {
    digits.resize(std::max<size_t>(digits.size(), static_cast<size_t>(exponent) + 1), '0');
    text += digits.substr(0, static_cast<size_t>(exponent) + 1);
    const std::string fraction = digits.substr(static_cast<size_t>(exponent) + 1);
    if (!fraction.empty()) text += "." + fraction;
  }
  return text;
}

TEST(DoubleText, AgreesWithCorrectlyRoundedDigitsAcrossMagnitudes) {
  std::mt19937_64 random(12345);
  std::uniform_real_distribution<double> mantissa(1.0, 10.0);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int i = 0; i < 20000; ++i) {
    double value = mantissa(random) * std::pow(10.0, exponent(random));
    if (i % 2) value = -value;
    ASSERT_EQ(Text(value), ExpectedFromPrintf(value)) << std::hexfloat << value;
  }
}

TEST(TextToWholeNumber, FollowsAtoiRules) {
  EXPECT_EQ(TextToInt("12abc"), 12);
  EXPECT_EQ(TextToInt(" \t\n-42x"), -42);
  EXPECT_EQ(TextToInt("+7"), 7);
  EXPECT_EQ(TextToInt("3.9"), 3);
  EXPECT_EQ(TextToInt("abc"), 0);
  EXPECT_EQ(TextToInt(""), 0);
  EXPECT_EQ(TextToInt("- 5"), 0);
  EXPECT_EQ(TextToInt("0x1A"), 0);
  EXPECT_EQ(TextToInt("99999999999"), INT32_MAX);
  EXPECT_EQ(TextToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(TextToInt("-99999999999999999999"), INT32_MIN);
  EXPECT_EQ(TextToInt(std::string_view("12\0"
                                       "34",
                                       5)),
            12);
  // A view that is not followed by a zero byte is read only up to its end.
  EXPECT_EQ(TextToInt(std::string_view("123456", 3)), 123);
}

TEST(TextToDouble, FollowsAtofRules) {
  EXPECT_EQ(TextToDouble("3.5"), 3.5);
  EXPECT_EQ(TextToDouble("  -2.5e3x"), -2500.0);
  EXPECT_EQ(TextToDouble("+.5"), 0.5);
  EXPECT_EQ(TextToDouble("5."), 5.0);
  EXPECT_EQ(TextToDouble("1e"), 1.0);
  EXPECT_EQ(TextToDouble("1e+"), 1.0);
  EXPECT_EQ(TextToDouble("12abc"), 12.0);
  EXPECT_EQ(TextToDouble("abc"), 0.0);
  EXPECT_EQ(TextToDouble("."), 0.0);
  EXPECT_EQ(TextToDouble("-"), 0.0);
  EXPECT_EQ(TextToDouble("inf"), 0.0);
  EXPECT_EQ(TextToDouble("0x1A"), 0.0);
  EXPECT_EQ(TextToDouble("0.1"), 0.1);
  EXPECT_EQ(TextToDouble("1e400"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(TextToDouble("-1e400"), -std::numeric_limits<double>::infinity());
  EXPECT_EQ(TextToDouble("123456e-400"), 0.0);
  EXPECT_EQ(TextToDouble("0.0000001e-400"), 0.0);
  EXPECT_EQ(TextToDouble(std::string_view("2.5e1", 3)), 2.5);
}

TEST(NumberText, PrintedDoublesReadBackToTenDigits) {
  for (double value : {0.5, 12.25, 1e12, 0.05, -7.125, 3.14159265358979}) {
    const double back = TextToDouble(ToText(value));
    EXPECT_NEAR(back, value, std::fabs(value) * 1e-9) << value;
  }
}

}  // namespace
}  // namespace zrb
