// The browser build writes and reads doubles through the C library (its libc++ has no floating
// to_chars or from_chars). Here, where the standard library has both, the C library versions
// must give exactly the same text and the same values: a fixed table of awkward numbers, then a
// spread of random bit patterns.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "engine/values/float_text.h"

namespace zrb::testing {
namespace {

using values::ParseStatus;
namespace c_library = values::c_library;

// Every spelling of `value` the game uses, by the C library versions (`ours`) or by to_chars:
// shortest, then scientific and fixed with several precisions.
std::vector<std::string> Spellings(double value, bool ours) {
  std::vector<std::string> texts;
  char text[1200];
  char* const last = text + sizeof text;
  const auto add = [&](char* end) { texts.push_back(end ? std::string(text, end) : "(no fit)"); };
  add(ours ? c_library::FormatShortest(text, last, value) : std::to_chars(text, last, value).ptr);
  for (int precision : {0, 3, 10, 17, 766})
    add(ours ? c_library::FormatScientific(text, last, value, precision)
             : std::to_chars(text, last, value, std::chars_format::scientific, precision).ptr);
  for (int decimals : {0, 3, 12})
    add(ours ? c_library::FormatFixed(text, last, value, decimals)
             : std::to_chars(text, last, value, std::chars_format::fixed, decimals).ptr);
  return texts;
}

// Zero, powers of ten, halves, numbers with no short decimal form, the largest exact integer
// and the next, the ends of the denormal and normal ranges: written from their values, and
// read as they stand.
// clang-format off
const char* const kAwkward[] = {"0", "1", "0.1", "0.0001", "0.001", "1e-5", "1e-7", "0.3", "0.5",
    "2.5", "4.35", "100", "123.456", "123456", "1234567890.5", "16.666666666666668",
    "0.6666666666666666", "1e15", "1e16", "1e21", "1e22", "1e23", "9007199254740993", "5e-324",
    "3.5e-323", "2.2250738585072014e-308", "1.7976931348623157e308"};
// clang-format on

TEST(FloatText, TheCLibraryWritesWhatToCharsWrites) {
  for (const char* text : kAwkward) {
    const double magnitude = std::strtod(text, nullptr);
    for (double value : {magnitude, -magnitude})
      EXPECT_EQ(Spellings(value, true), Spellings(value, false));
  }
  std::mt19937_64 random(18);
  for (int i = 0; i < 3000; ++i) {
    double value = 0;
    const uint64_t bits = random();
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) continue;
    EXPECT_EQ(Spellings(value, true), Spellings(value, false)) << bits;
  }
}

TEST(FloatText, TheCLibraryReadsWhatFromCharsReads) {
  // clang-format off
  std::vector<const char*> texts = {"12.5e3x", ".5", "5.", "007", "1e", "1e+", "1E-2", "0x1A",
      "-3.25", "+3", ".", "", "abc", "1e400", "1e-400", "4e-320", "1.7976931348623159e308",
      "123456789012345678901234567890"};
  // clang-format on
  texts.insert(texts.end(), std::begin(kAwkward), std::end(kAwkward));
  for (const char* text : texts) {
    for (bool exponent : {true, false}) {
      SCOPED_TRACE(std::string(text) + (exponent ? " general" : " fixed"));
      const char* last = text + std::strlen(text);
      double expected = -99, actual = -99;
      const auto standard = std::from_chars(
          text, last, expected, exponent ? std::chars_format::general : std::chars_format::fixed);
      const values::ParsedDouble ours = c_library::ParseDecimal(text, last, actual, exponent);
      const ParseStatus status = standard.ec == std::errc() ? ParseStatus::kOk
                                 : standard.ec == std::errc::invalid_argument
                                     ? ParseStatus::kInvalid
                                     : ParseStatus::kOutOfRange;
      EXPECT_EQ(ours.status, status);
      EXPECT_EQ(ours.end, status == ParseStatus::kInvalid ? text : standard.ptr);
      EXPECT_EQ(actual, status == ParseStatus::kOk ? expected : -99);
    }
  }
  // Words are not numbers to the game, though from_chars takes them.
  for (const char* word : {"inf", "nan", "infinity"}) {
    double value = 0;
    EXPECT_EQ(c_library::ParseDecimal(word, word + std::strlen(word), value, true).status,
              ParseStatus::kInvalid);
  }
}

}  // namespace
}  // namespace zrb::testing
