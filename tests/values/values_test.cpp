// The value types' exact rules: arrays, texts, number text both ways, numeric edge cases, and
// the random generator against the published ISAAC.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <ostream>
#include <random>
#include <set>
#include <string>

#include "engine/values/engine_array.h"
#include "engine/values/engine_string.h"
#include "engine/values/isaac.h"
#include "engine/values/number_text.h"
#include "engine/values/numeric.h"
#include "engine/values/random.h"
#include "support/fatal_trap.h"

namespace zrb {

void PrintTo(const EngineString& value, std::ostream* out) {
  *out << '"' << std::string_view(value) << '"';
}

namespace {

struct Item {  // a record like the game's
  int32_t kind = 0;
  double x = 0;
  EngineString label;
};

TEST(EngineArray, BadIndexesAreFatalOutOfBounds) {
  EngineArray<int32_t> a;
  DimArray(a, 10);
  for (int i = 0; i < 10; ++i)
    a[i] = i + 1;
  EXPECT_EQ(a(-1), 10);
  EXPECT_EQ(a[-10], 1);
  EXPECT_FATAL(a(-11), kErrorOutOfBounds);
  EXPECT_FATAL(a(10), kErrorOutOfBounds);
  EXPECT_FATAL(a(3, 1), kErrorOutOfBounds);  // an unused dimension admits only index 0
  EngineArray<double> grid;
  DimArray(grid, 17, 12);
  EXPECT_FATAL(grid(0, 12), kErrorOutOfBounds);
  EXPECT_FATAL(grid(0, -1), kErrorOutOfBounds);
  const EngineArray<double> never;
  EXPECT_FATAL(never(-1), kErrorOutOfBounds);
}

TEST(EngineArray, SkippedMiddleDimensionsStillGiveEachElementItsPlace) {
  EngineArray<int32_t> a;
  DimArray(a, 3, 0, 4);
  EXPECT_EQ(a.ElementCount(), 12);
  for (int k = 0; k < 4; ++k) {
    for (int i = 0; i < 3; ++i)
      a(i, 0, k) = 10 * k + i;
  }
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(a(2, 0, k), 10 * k + 2);
  DimArray(a, 2, -3);  // negative inner sizes count as unused
  EXPECT_EQ(a.DimensionCount(), 1);
}

TEST(EngineArray, RedimKeepsTheOverlap) {
  EngineArray<double> a;
  DimArray(a, 10);
  for (int i = 0; i < 10; ++i)
    a(i) = i + 1;
  RedimArray(a, 5);
  RedimArray(a, 12);
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(a(i), i < 5 ? i + 1 : 0);
  EngineArray<int32_t> grid;
  DimArray(grid, 3, 4);
  for (int j = 0; j < 4; ++j) {
    for (int i = 0; i < 3; ++i)
      grid(i, j) = 10 * i + j;
  }
  RedimArray(grid, 5, 2);
  for (int j = 0; j < 2; ++j) {
    for (int i = 0; i < 5; ++i)
      EXPECT_EQ(grid(i, j), i < 3 ? 10 * i + j : 0);
  }
  const int32_t* buffer = grid.Data();
  RedimArray(grid, 0);  // no elements, buffer kept
  EXPECT_EQ(ArraySize(grid, 0), 0);
  EXPECT_EQ(grid.Data(), buffer);
  EXPECT_FATAL(grid(0), kErrorOutOfBounds);
}

TEST(EngineArray, AppendAndCopyRecordsDeeply) {
  EngineArray<Item> items;
  AppendArray(items, Item{3, 1.5, "web"});
  AppendArray(items, Item{4, 2.5, "spider"});
  AppendArray(items, items(0));  // an element of the array itself
  ASSERT_EQ(ArraySize(items, 0), 3);
  EXPECT_EQ(items(1).label, "spider");
  EXPECT_EQ(items(-1).label, "web");
  EngineArray<Item> copy(items);
  copy(1).label += "s";
  EXPECT_EQ(items(1).label, "spider");
  EXPECT_EQ(copy(1).label, "spiders");
  DimArray(items, 2, 2);
  EXPECT_FATAL(AppendArray(items, Item{}), kErrorAppendToMultiDim);
}

TEST(EngineArray, SizesBeyondMemoryAreFatalOutOfMemory) {
  EngineArray<double> a;
  EXPECT_FATAL(DimArray(a, 100000, 100000), kErrorOutOfMemory);
  EXPECT_EQ(a.DimensionCount(), 0);
  EXPECT_FATAL(a(0), kErrorOutOfBounds);
  EngineArray<Item> records;
  EXPECT_FATAL(DimArray(records, 50000, 50000), kErrorOutOfMemory);
}

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

TEST(EngineString, FindAgreesWithAPlainSearchOnEveryShortTextOfTwoLetters) {
  // Texts and needles of up to 9 and 4 letters of "ab" (repeats make the skip table matter),
  // from every start before, inside and past the text.
  std::mt19937 random(5);
  for (int round = 0; round < 4000; ++round) {
    std::string text(random() % 10, 'a'), needle(random() % 5, 'a');
    for (char& c : text)
      c = "ab"[random() % 2];
    for (char& c : needle)
      c = "ab"[random() % 2];
    const int32_t start = static_cast<int32_t>(random() % 13) - 2;
    const size_t found = text.find(needle, static_cast<size_t>(std::max(start, 0)));
    const int32_t expected =
        needle.empty() || found == std::string::npos ? -1 : static_cast<int32_t>(found);
    ASSERT_EQ(Find(text, needle, start), expected) << text << " " << needle << " " << start;
  }
}

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

// Texts too long for the overflow estimate's old exponent bound: found by fuzzing TextToDouble
// against strtod.
// Many digits make a large number, a long exponent of the other sign pulls it back: which
// side wins decides between 0 and infinity when the value is out of a double's range.
TEST(NumberTextLongText, ManyDigitsAgainstALongerExponentTakeTheExponentsSide) {
  const std::string digits = "1" + std::string(200000, '0');
  const std::string tiny = digits + "e-1000000";                           // 1e-800000
  const std::string huge = "0." + std::string(200000, '0') + "1e1000000";  // 1e799999
  EXPECT_EQ(TextToDouble(tiny), 0.0);
  EXPECT_EQ(TextToDouble(huge), HUGE_VAL);
  EXPECT_EQ(TextToDouble("-" + huge), -HUGE_VAL);
}

// Exponents with more digits than any count fits in still only decide the side.
TEST(NumberTextLongText, ExponentsOfManyDigitsSaturate) {
  const std::string nines(40, '9');
  EXPECT_EQ(TextToDouble("1e" + nines), HUGE_VAL);
  EXPECT_EQ(TextToDouble("1e-" + nines), 0.0);
  EXPECT_EQ(TextToDouble(std::string(300000, '7') + "e-" + nines), 0.0);
  EXPECT_EQ(TextToDouble("0." + std::string(300000, '0') + "3e+" + nines), HUGE_VAL);
}

TEST(Numeric, ZeroDivisorsGiveZeroAbsSaturatesAndTruncationIsDefinedEverywhere) {
  EXPECT_EQ(Mod(-7, 3), -1);
  EXPECT_EQ(Mod(7, -3), 1);
  EXPECT_EQ(Mod(7, 0), 0);
  EXPECT_EQ(Mod(INT32_MIN, -1), 0);
  EXPECT_EQ(FMod(5.5, 0), 0.0);
  EXPECT_DOUBLE_EQ(FMod(-5.5, 2), -1.5);
  // Abs saturates, and truncation is defined everywhere.
  EXPECT_EQ(Abs(INT32_MIN), INT32_MAX);
  EXPECT_EQ(Abs(-2.5), 2.5);
  EXPECT_EQ(Min(3, -4), -4);
  EXPECT_EQ(Max(0.5, 0.25), 0.5);
  EXPECT_EQ(TruncateToInt(-2.9), -2);
  EXPECT_EQ(TruncateToInt(1e20), INT32_MAX);
  EXPECT_EQ(TruncateToInt(-1e20), INT32_MIN);
  EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

// An independent ISAAC written as the published reference (rand.c) writes it: pointer walks
// over the two halves of memory and byte-offset indexing, with randinit's seed-word passes.
namespace reference {
using ub4 = uint32_t;
struct RandCtx {
  ub4 randrsl[256], randmem[256], randa, randb, randc;
};
// clang-format off
#define IND(mm, x) (*(ub4*)((unsigned char*)(mm) + ((x) & (255 << 2))))
#define RNGSTEP(mix, a, b, mm, m, m2, r, x) \
  { x = *m; a = (a ^ (mix)) + *(m2++); *(m++) = y = IND(mm, x) + a + b; *(r++) = b = IND(mm, y >> 8) + x; }
#define MIX(a, b, c, d, e, f, g, h) { \
  a ^= b << 11; d += a; b += c; b ^= c >> 2;  e += b; c += d; c ^= d << 8;  f += c; d += e; \
  d ^= e >> 16; g += d; e += f; e ^= f << 10; h += e; f += g; f ^= g >> 4;  a += f; g += h; \
  g ^= h << 8;  b += g; h += a; h ^= a >> 9;  c += h; a += b; }
void Isaac(RandCtx* ctx) {
  ub4 a, b, x, y, *m, *mm = ctx->randmem, *m2, *r = ctx->randrsl, *mend;
  a = ctx->randa; b = ctx->randb + (++ctx->randc);
  for (m = mm, mend = m2 = m + 128; m < mend;) {
    RNGSTEP(a << 13, a, b, mm, m, m2, r, x); RNGSTEP(a >> 6, a, b, mm, m, m2, r, x);
    RNGSTEP(a << 2, a, b, mm, m, m2, r, x);  RNGSTEP(a >> 16, a, b, mm, m, m2, r, x);
  }
  for (m2 = mm; m2 < mend;) {
    RNGSTEP(a << 13, a, b, mm, m, m2, r, x); RNGSTEP(a >> 6, a, b, mm, m, m2, r, x);
    RNGSTEP(a << 2, a, b, mm, m, m2, r, x);  RNGSTEP(a >> 16, a, b, mm, m, m2, r, x);
  }
  ctx->randb = b; ctx->randa = a;
}
// randinit(ctx, TRUE) with the seed words in randrsl; the published generator premixes 4
// times, the engine not at all.
void RandInit(RandCtx* ctx, int premixRounds) {
  ub4 a, b, c, d, e, f, g, h, *m = ctx->randmem, *r = ctx->randrsl;
  ctx->randa = ctx->randb = ctx->randc = 0;
  a = b = c = d = e = f = g = h = 0x9e3779b9;
  for (int i = 0; i < premixRounds; ++i) MIX(a, b, c, d, e, f, g, h);
  for (int pass = 0; pass < 2; ++pass) {
    ub4* s = pass == 0 ? r : m;
    for (int i = 0; i < 256; i += 8) {
      a += s[i]; b += s[i + 1]; c += s[i + 2]; d += s[i + 3];
      e += s[i + 4]; f += s[i + 5]; g += s[i + 6]; h += s[i + 7];
      MIX(a, b, c, d, e, f, g, h);
      m[i] = a; m[i + 1] = b; m[i + 2] = c; m[i + 3] = d;
      m[i + 4] = e; m[i + 5] = f; m[i + 6] = g; m[i + 7] = h;
    }
  }
  Isaac(ctx);
}
// clang-format on
#undef IND
#undef RNGSTEP
#undef MIX

// The engine's seeding in the reference's terms: the seed is the first of every eight seed
// words, no premixing.
RandCtx SeededLikeTheEngine(uint32_t seed) {
  RandCtx ctx{};
  for (int i = 0; i < 256; i += 8)
    ctx.randrsl[i] = seed;
  RandInit(&ctx, 0);
  return ctx;
}
}  // namespace reference

TEST(Isaac, ReferenceMatchesThePublishedVector) {
  reference::RandCtx ctx{};
  reference::RandInit(&ctx, 4);
  reference::Isaac(&ctx);
  const uint32_t published[] = {0xf650e4c8, 0xe448e96d, 0x98db2fb4, 0xf5fad54f};
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(ctx.randrsl[i], published[i]) << i;
}

TEST(Isaac, EngineDrawsMatchTheReferenceForSeveralSeeds) {
  for (uint32_t seed : {0u, 1u, 2u, 1234u, 0x9e3779b9u, 0xffffffffu}) {
    reference::RandCtx ctx = reference::SeededLikeTheEngine(seed);
    values::Isaac engine;
    engine.Seed(seed);
    for (int i = 0; i < 256; ++i)
      ASSERT_EQ(engine.Results()[i], ctx.randrsl[i]) << seed;
    for (int draw = 0; draw < 8; ++draw) {
      reference::Isaac(&ctx);
      EXPECT_EQ(engine.Draw(), ctx.randrsl[0]) << "seed " << seed << " draw " << draw;
    }
  }
}

TEST(Random, DrawsAreTheWordModuloRangeAndRangesBelowOneDrawNothing) {
  reference::RandCtx ctx = reference::SeededLikeTheEngine(40000);
  SeedRandom(40000);
  EXPECT_EQ(Random(0), 0);
  EXPECT_EQ(Random(-5), 0);
  EXPECT_EQ(Random(INT32_MIN), 0);
  for (int32_t n : {1, 6, 1000, INT32_MAX}) {
    reference::Isaac(&ctx);
    EXPECT_EQ(Random(n), static_cast<int32_t>(ctx.randrsl[0] % (static_cast<uint32_t>(n) + 1)));
  }
  std::set<int32_t> seen;
  for (int i = 0; i < 300; ++i)
    seen.insert(Random(6));
  EXPECT_EQ(seen, (std::set<int32_t>{0, 1, 2, 3, 4, 5, 6}));
}

}  // namespace
}  // namespace zrb
