// The browser build writes and reads doubles through the C library (its libc++ has no floating
// to_chars or from_chars). Here, where the standard library has both, the C library versions
// must give exactly the same text and the same values: a fixed table of awkward numbers, then a
// spread of random bit patterns.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "engine/values/float_text.h"

namespace zrb::testing {
namespace {

using values::ParseStatus;

std::string Standard(double value, int mode, int precision) {
  char text[1200];
  std::to_chars_result result{};
  if (mode == 0) result = std::to_chars(text, text + sizeof text, value);
  if (mode == 1)
    result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, precision);
  if (mode == 2)
    result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, precision);
  return std::string(text, result.ptr);
}

std::string Ours(double value, int mode, int precision) {
  char text[1200];
  char* end = nullptr;
  if (mode == 0) end = values::c_library::FormatShortest(text, text + sizeof text, value);
  if (mode == 1)
    end = values::c_library::FormatScientific(text, text + sizeof text, value, precision);
  if (mode == 2) end = values::c_library::FormatFixed(text, text + sizeof text, value, precision);
  return end ? std::string(text, end) : "(does not fit)";
}

void ExpectSameText(double value) {
  SCOPED_TRACE(Standard(value, 1, 17));
  EXPECT_EQ(Ours(value, 0, 0), Standard(value, 0, 0));
  for (int precision : {0, 3, 10, 17, 766})
    EXPECT_EQ(Ours(value, 1, precision), Standard(value, 1, precision));
  for (int decimals : {0, 3, 12})
    EXPECT_EQ(Ours(value, 2, decimals), Standard(value, 2, decimals));
}

TEST(FloatText, TheCLibraryWritesWhatToCharsWrites) {
  const double denormal = std::numeric_limits<double>::denorm_min();
  for (double value : {0.0,
                       -0.0,
                       1.0,
                       -1.0,
                       0.1,
                       0.0001,
                       0.001,
                       1e-5,
                       123.456,
                       1e15,
                       1e16,
                       1e21,
                       1e22,
                       1e23,
                       5e-324,
                       denormal * 7,
                       2.2250738585072014e-308,
                       1.7976931348623157e308,
                       9007199254740993.0,
                       0.5,
                       2.5,
                       1234567890.5,
                       16.666666666666668,
                       100.0,
                       123456.0,
                       1e-7,
                       4.35,
                       0.3,
                       2.0 / 3.0}) {
    ExpectSameText(value);
  }
  std::mt19937_64 random(18);
  for (int i = 0; i < 3000; ++i) {
    double value = 0;
    const uint64_t bits = random();
    std::memcpy(&value, &bits, sizeof value);
    if (std::isfinite(value)) {
      SCOPED_TRACE(bits);
      EXPECT_EQ(Ours(value, 0, 0), Standard(value, 0, 0));
      EXPECT_EQ(Ours(value, 1, 10), Standard(value, 1, 10));
    }
  }
}

TEST(FloatText, TheCLibraryReadsWhatFromCharsReads) {
  struct Case {
    const char* text;
    bool allowExponent;
  };
  const Case cases[] = {
      {"12.5", true},
      {"12.5e3x", true},
      {"12.5e3", false},
      {".5", true},
      {"5.", true},
      {"007", true},
      {"1e", true},
      {"1e+", true},
      {"1E-2", true},
      {"0x1A", true},
      {"-3.25", false},
      {"+3", true},
      {"inf", true},
      {"nan", false},
      {".", true},
      {"", true},
      {"1e400", true},
      {"1e-400", true},
      {"4e-320", true},
      {"abc", true},
      {"1.7976931348623159e308", true},
      {"123456789012345678901234567890", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const char* last = c.text + std::strlen(c.text);
    double expected = -99, actual = -99;
    const auto standard =
        std::from_chars(c.text, last, expected,
                        c.allowExponent ? std::chars_format::general : std::chars_format::fixed);
    const values::ParsedDouble ours =
        values::c_library::ParseDecimal(c.text, last, actual, c.allowExponent);
    const ParseStatus status = standard.ec == std::errc() ? ParseStatus::kOk
                               : standard.ec == std::errc::invalid_argument
                                   ? ParseStatus::kInvalid
                                   : ParseStatus::kOutOfRange;
    // Words (inf, nan) are not numbers to the game: from_chars takes them, we do not.
    if (std::strcmp(c.text, "inf") == 0 || std::strcmp(c.text, "nan") == 0) {
      EXPECT_EQ(ours.status, ParseStatus::kInvalid);
      continue;
    }
    EXPECT_EQ(ours.status, status);
    if (status == ParseStatus::kInvalid) continue;
    EXPECT_EQ(ours.end - c.text, standard.ptr - c.text);
    if (status == ParseStatus::kOk) {
      EXPECT_EQ(actual, expected);
    }
  }
}

}  // namespace
}  // namespace zrb::testing
