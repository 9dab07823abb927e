#include "engine/values/engine_string.h"

#include <gtest/gtest.h>

#include <algorithm>
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

TEST(EngineString, ConcatenationMixesValuesLiteralsAndNumbers) {
  const EngineString score = ToText(1234);
  EXPECT_EQ("score|" + score, "score|1234");
  EXPECT_EQ(score + "|" + score, "1234|1234");
  EXPECT_EQ("Round "_es + 7, "Round 7");
  EXPECT_EQ(3 + EngineString(" lives"), "3 lives");
  EXPECT_EQ(EngineString("t=") + 12.5, "t=12.5");
  EXPECT_EQ(0.05 + EngineString(""), "5.e-002");
  EngineString line("lives ");
  line += -3;
  line += 0.5;
  EXPECT_EQ(line, "lives -30.5");
}

TEST(EngineString, MidAndCase) {
  const EngineString s("ABCDEF");
  EXPECT_EQ(Mid(s, 2, 3), "CDE");
  EXPECT_EQ(Mid(s, 4, 10), "EF");
  EXPECT_EQ(Mid(s, 2, -1), "CDEF");
  EXPECT_EQ(Mid(s, 6, 1), "");
  EXPECT_EQ(Mid(s, -1, 2), "");
  EXPECT_EQ(Mid(s, 3, 0), "");
  EXPECT_EQ(Mid(s, 5, INT32_MAX), "F");
  EXPECT_EQ(Mid(s, INT32_MAX, INT32_MAX), "");
  EXPECT_EQ(LowerCase("Hello, World 42!"), "hello, world 42!");
  EXPECT_EQ(UpperCase("Hi \xe9t\xe9"), "HI \xe9T\xe9");  // only A-Z and a-z change
}

TEST(EngineString, FindMatchesAPlainSearch) {
  EXPECT_EQ(Find("ABCABC", "BC", 0), 1);
  EXPECT_EQ(Find("ABCABC", "BC", 2), 4);
  EXPECT_EQ(Find("ABC", "", 0), -1);
  EXPECT_EQ(Find("ABC", "C", 3), -1);
  EXPECT_EQ(Find("ABC", "ABC", 0), 0);
  EXPECT_EQ(Find("ABC", "ABD", 0), -1);
  EXPECT_EQ(Find("ABCABC", "CA", -4), 2);
  EXPECT_EQ(Find("xx\xff\x80yy\xff\x80z", "\xff\x80z", 0), 6);
  const std::string hay = "abracadabra cabbage abacus aab abracadabra";
  for (const char* needle : {"abra", "ab", "a", "cab", "bra c", "aab", "zzz", "abracadabra"}) {
    for (int32_t start = 0; start < static_cast<int32_t>(hay.size()); ++start) {
      const size_t plain = hay.find(needle, static_cast<size_t>(start));
      ASSERT_EQ(Find(hay, needle, start), plain == std::string::npos ? -1 : int32_t(plain))
          << needle << " from " << start;
    }
  }
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
