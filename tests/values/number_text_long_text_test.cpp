// Texts too long for the overflow estimate's old exponent bound: found by fuzzing TextToDouble
// against strtod.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "engine/values/number_text.h"

namespace zrb {
namespace {

// Many digits make a large number, a long exponent of the other sign pulls it back: which
// side wins decides between 0 and infinity when the value is out of a double's range.
TEST(NumberTextLongText, ManyDigitsAgainstALongerExponentTakeTheExponentsSide) {
  const std::string digits = "1" + std::string(200000, '0');
  const std::string tiny = digits + "e-1000000";                           // 1e-800000
  const std::string huge = "0." + std::string(200000, '0') + "1e1000000";  // 1e799999
  EXPECT_EQ(TextToDouble(tiny), 0.0);
  EXPECT_EQ(TextToDouble(huge), HUGE_VAL);
  EXPECT_EQ(TextToDouble("-" + huge), -HUGE_VAL);
  // The C library agrees.
  EXPECT_EQ(std::strtod(tiny.c_str(), nullptr), 0.0);
  EXPECT_EQ(std::strtod(huge.c_str(), nullptr), HUGE_VAL);
}

// Exponents with more digits than any count fits in still only decide the side.
TEST(NumberTextLongText, ExponentsOfManyDigitsSaturate) {
  const std::string nines(40, '9');
  EXPECT_EQ(TextToDouble("1e" + nines), HUGE_VAL);
  EXPECT_EQ(TextToDouble("1e-" + nines), 0.0);
  EXPECT_EQ(TextToDouble(std::string(300000, '7') + "e-" + nines), 0.0);
  EXPECT_EQ(TextToDouble("0." + std::string(300000, '0') + "3e+" + nines), HUGE_VAL);
}

}  // namespace
}  // namespace zrb
