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

TEST(EngineString, EmptyValuesShareOneEmptyText) {
  EngineString a;
  EngineString b("");
  EngineString c(static_cast<const char*>(nullptr));
  EXPECT_EQ(a.c_str(), EngineString::SharedEmptyText());
  EXPECT_EQ(b.c_str(), a.c_str());
  EXPECT_EQ(c.c_str(), a.c_str());
  EXPECT_EQ(a.Capacity(), 0u);
  EXPECT_EQ(a.Length(), 0u);
  EngineString copy(a);
  EXPECT_TRUE(copy.UsesSharedEmpty());
}

TEST(EngineString, BuffersGrowInSixteenByteStepsAboveTheLength) {
  EXPECT_EQ(EngineString::BufferSizeFor(14), 16u);
  EXPECT_EQ(EngineString::BufferSizeFor(15), 32u);
  EXPECT_EQ(EngineString::BufferSizeFor(31), 48u);
  EXPECT_EQ(EngineString("HELLO").Capacity(), 16u);
  EXPECT_EQ(EngineString("123456789012345").Capacity(), 32u);
  EXPECT_EQ(EngineString("12345678901234").Capacity(), 16u);
}

TEST(EngineString, AppendingKeepsCharactersAndGrowsOnlyWhenFull) {
  EngineString text("12345678901234");
  ASSERT_EQ(text.Capacity(), 16u);
  text += "5";  // 15 characters still fit 16 bytes
  EXPECT_EQ(text.Capacity(), 16u);
  const char* before = text.c_str();
  text += "6";
  EXPECT_EQ(text.Capacity(), 32u);
  EXPECT_NE(text.c_str(), before);
  EXPECT_EQ(text, "1234567890123456");
  EXPECT_EQ(text.Length(), 16u);
}

TEST(EngineString, AssignmentReusesTheBufferAndNeverShrinks) {
  EngineString target("HELLO");
  const char* buffer = target.c_str();
  target = EngineString();
  EXPECT_EQ(target.c_str(), buffer);
  EXPECT_EQ(target.Capacity(), 16u);
  EXPECT_EQ(target.Length(), 0u);
  EXPECT_EQ(target, "");
  target = "HI";
  EXPECT_EQ(target.c_str(), buffer);
  EngineString longer("a text that needs a larger buffer");
  target = longer;
  EXPECT_EQ(target.Capacity(), 48u);
  target = ToText(5);  // a moved-in temporary that fits is copied, keeping 48 bytes
  EXPECT_EQ(target.Capacity(), 48u);
  EXPECT_EQ(target, "5");
  target = target;  // self-assignment changes nothing
  EXPECT_EQ(target, "5");
}

TEST(EngineString, CopiesAreDeep) {
  EngineString original("penguin");
  EngineString copy(original);
  EXPECT_NE(copy.c_str(), original.c_str());
  copy += "s";
  EXPECT_EQ(original, "penguin");
  EXPECT_EQ(copy, "penguins");
  EngineString assigned;
  assigned = original;
  EXPECT_NE(assigned.c_str(), original.c_str());
}

TEST(EngineString, DestroyFreesAndLeavesTheEmptyValue) {
  EngineString text("abc");
  text.Destroy();
  EXPECT_TRUE(text.UsesSharedEmpty());
  EXPECT_EQ(text.Capacity(), 0u);
  text += "x";
  EXPECT_EQ(text, "x");
}

TEST(EngineString, TextsStopAtTheirFirstZeroByte) {
  EngineString text(std::string_view("ab\0cd", 5));
  EXPECT_EQ(text.Length(), 2u);
  text += std::string_view("x\0y", 3);
  EXPECT_EQ(text, "abx");
}

TEST(EngineString, AppendingItselfOrAPartOfItself) {
  EngineString text("0123456789ABCDE");  // 15 characters, 32 bytes
  text += text;
  EXPECT_EQ(text, "0123456789ABCDE0123456789ABCDE");
  EngineString small("abc");
  small += std::string_view(small).substr(1);
  EXPECT_EQ(small, "abcbc");
  small.Assign(std::string_view(small).substr(2));
  EXPECT_EQ(small, "cbc");
}

TEST(Concatenation, MixesValuesLiteralsAndNumbers) {
  const EngineString score = ToText(1234);
  EXPECT_EQ("score|" + score, "score|1234");
  EXPECT_EQ(score + "|", "1234|");
  EXPECT_EQ(score + score, "12341234");
  EXPECT_EQ("Round "_es + 7, "Round 7");
  EXPECT_EQ(EngineString("x") + -7, "x-7");
  EXPECT_EQ(3 + EngineString(" lives"), "3 lives");
  EXPECT_EQ(EngineString("t=") + 12.5, "t=12.5");
  EXPECT_EQ(0.05 + EngineString(""), "5.e-002");
  EXPECT_EQ(EngineString("a") + "", "a");
  EngineString line("lives ");
  line += 3;
  line += 0.5;
  EXPECT_EQ(line, "lives 30.5");
}

TEST(Concatenation, ResultIsTheLeftCopyGrownToHoldBoth) {
  EXPECT_EQ((EngineString("12345678901234") + "5").Capacity(), 16u);
  EXPECT_EQ((EngineString("12345678901234") + "56").Capacity(), 32u);
  EXPECT_TRUE((EngineString() + EngineString()).UsesSharedEmpty());
}

TEST(Mid, TakesCountCharactersFromAZeroBasedStart) {
  const EngineString source("ABCDEF");
  EXPECT_EQ(Mid(source, 2, 3), "CDE");
  EXPECT_EQ(Mid(source, 4, 10), "EF");
  EXPECT_EQ(Mid(source, 2, -1), "CDEF");
  EXPECT_EQ(Mid(source, 0, 6), "ABCDEF");
  EXPECT_EQ(Mid(source, 6, 1), "");
  EXPECT_EQ(Mid(source, -1, 2), "");
  EXPECT_EQ(Mid(source, 3, 0), "");
  EXPECT_EQ(Mid(source, INT32_MAX, INT32_MAX), "");
  EXPECT_EQ(Mid(source, 5, INT32_MAX), "F");
  EXPECT_EQ(Mid("", 0, 3), "");
}

TEST(CaseConversion, OnlyLettersChange) {
  EXPECT_EQ(LowerCase("Hello, World 42!"), "hello, world 42!");
  EXPECT_EQ(UpperCase("Hello, World 42!"), "HELLO, WORLD 42!");
  EXPECT_EQ(UpperCase("\xe9t\xe9"), "\xe9T\xe9");
  EXPECT_EQ(LowerCase(""), "");
}

TEST(Find, FirstOccurrenceAtOrAfterStart) {
  const EngineString text("ABCABC");
  EXPECT_EQ(Find(text, "BC", 0), 1);
  EXPECT_EQ(Find(text, "BC", 2), 4);
  EXPECT_EQ(Find(text, "BC", 5), -1);
  EXPECT_EQ(Find("ABC", "", 0), -1);
  EXPECT_EQ(Find("ABC", "C", 3), -1);
  EXPECT_EQ(Find("ABC", "ABC", 0), 0);
  EXPECT_EQ(Find("ABC", "ABD", 0), -1);
  EXPECT_EQ(Find("ABC", "BC", 1), 1);
  EXPECT_EQ(Find("ABC", "ABCD", 0), -1);
  EXPECT_EQ(Find(text, "CA", -4), 2);
}

TEST(Find, SkipsCorrectlyOnRepeatsAndHighBytes) {
  EXPECT_EQ(Find("aaaaaaab", "aab", 0), 5);
  EXPECT_EQ(Find("abcabdabcabe", "abcabe", 0), 6);
  EXPECT_EQ(Find("xx\xff\x80yy\xff\x80z", "\xff\x80z", 0), 6);
  EXPECT_EQ(Find("the maze of the penguins", "the", 1), 12);
  // Compare against a plain search over many windows and starts.
  const std::string hay = "abracadabra cabbage abacus abracadabra";
  for (const char* needle : {"abra", "ab", "a", "cab", "bra c", "us a", "zzz", "abracadabra"}) {
    for (int32_t start = 0; start < static_cast<int32_t>(hay.size()); ++start) {
      const size_t plain = hay.find(needle, static_cast<size_t>(start));
      const int32_t expected = plain == std::string::npos ? -1 : static_cast<int32_t>(plain);
      ASSERT_EQ(Find(hay, needle, start), expected) << needle << " from " << start;
    }
  }
}

TEST(Comparison, TextsCompareByUnsignedBytes) {
  EXPECT_TRUE(EngineString("abc") == "abc");
  EXPECT_TRUE(EngineString("abc") != "abd");
  EXPECT_TRUE(EngineString("abc") < EngineString("abd"));
  EXPECT_TRUE(EngineString("ab") < "abc");
  EXPECT_TRUE("b" > EngineString("abc"));
  EXPECT_TRUE(EngineString("Z") < "a");
  EXPECT_TRUE(EngineString("\xe9") > "z");  // 233 orders after 122
  EXPECT_TRUE(EngineString("x") >= "x");
  EXPECT_TRUE(EngineString("") <= EngineString());
}

TEST(Comparison, NumbersCompareWithTheTextsNumber) {
  EXPECT_TRUE(12 == EngineString("12abc"));
  EXPECT_TRUE(EngineString("12abc") == 12);
  EXPECT_FALSE(13 == EngineString("12abc"));
  EXPECT_TRUE(2 < EngineString("10"));  // numerically, where the texts "2" > "10"
  EXPECT_TRUE(0 == EngineString("abc"));
  EXPECT_TRUE(2.5 == EngineString(" 2.5 apples"));
  EXPECT_TRUE(2.5 > EngineString("2.25"));
  EXPECT_TRUE(EngineString("1e3") == 1000.0);
  EXPECT_FALSE(EngineString("1e3") == 1000);  // atoi stops at the "e"
}

}  // namespace
}  // namespace zrb
