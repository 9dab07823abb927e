#include "engine/values/random.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>

#include "engine/values/isaac.h"

namespace zrb {
namespace {

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
