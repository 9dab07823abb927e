#include "engine/values/engine_string.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "engine/values/number_text.h"

namespace zrb {

void PrintTo(const EngineString& value, std::ostream* out) {
  *out << '"' << std::string_view(value) << '"';
}

namespace {

using namespace zrb::literals;

TEST(EngineString, CopiesAreDeepAndSelfReferencesAreSafe) {
  const EngineString original("penguin");
  EngineString copy(original);
  copy += "s";
  EXPECT_EQ(original, "penguin");
  EXPECT_NE(copy.c_str(), original.c_str());
  EngineString text("0123456789ABCDE");  // appending itself forces a new buffer
  text += text;
  EXPECT_EQ(text, "0123456789ABCDE0123456789ABCDE");
  EngineString small("abc");
  small += std::string_view(small).substr(1);
  EXPECT_EQ(small, "abcbc");
  small.Assign(std::string_view(small).substr(2));
  EXPECT_EQ(small, "cbc");
  EXPECT_EQ(EngineString(std::string_view("ab\0cd", 5)).Length(), 2u);  // stops at a zero
  // A writer that leaves no zero byte gets the last byte of the buffer as terminator.
  small.Overwrite(16, [](char* buffer, uint32_t size) { std::fill(buffer, buffer + size, 'x'); });
  EXPECT_EQ(small, "xxxxxxxxxxxxxxx");
}

TEST(EngineString, ComparisonsUseBytesOrTheTextsNumber) {
  EXPECT_TRUE(EngineString("abc") == "abc");
  EXPECT_TRUE(EngineString("abc") != "abd");
  EXPECT_TRUE(EngineString("ab") < "abc");
  EXPECT_TRUE("b" > EngineString("abc"));
  EXPECT_TRUE(EngineString("\xe9") > "z");  // bytes order as unsigned values
  EXPECT_TRUE(12 == EngineString("12abc"));
  EXPECT_FALSE(EngineString("12abc") == 13);
  EXPECT_TRUE(2 < EngineString("10"));  // numerically, where the texts order "10" first
  EXPECT_TRUE(2.5 > EngineString(" 2.25 apples"));
  EXPECT_TRUE(EngineString("1e3") == 1000.0);
  EXPECT_FALSE(EngineString("1e3") == 1000);  // atoi stops at the "e"
}

}  // namespace
}  // namespace zrb
