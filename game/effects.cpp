#include "game/effects.h"

#include "engine/graphics/draw.h"
#include "engine/values/numeric.h"
#include "engine/values/random.h"
#include "game/catalogue.h"
#include "game/record_lists.h"
#include "game/state.h"

namespace tundrel {
namespace {

constexpr int32_t kFloaterLifetime = 49;
constexpr int32_t kRingParticle = 14;
constexpr int32_t kSmallBurstParticle = 15;
constexpr int32_t kMediumBurstParticle = 16;
constexpr int32_t kLargeBurstParticle = 17;
constexpr int32_t kEasyLabelOffset = 14;
constexpr int32_t kSparkleLife = 30;
constexpr double kSparkleFloor = 463.0;

FloaterRecord NewFloater(int32_t x, int32_t y, int32_t type) {
  FloaterRecord floater;
  floater.type = type;
  floater.x = x;
  floater.y = y;
  floater.age = 0;
  floater.alpha = 1.1;
  return floater;
}

// Item strip frame of a particle type: ring 6, bursts 7 to 9.
int32_t ParticleFrame(int32_t type) {
  return type - kRingParticle + 6;
}

void DrawFloater(FloaterRecord& floater) {
  if (floater.type < kRingParticle) {
    floater.alpha -= 0.02;
    zrb::SetAlphaMode(floater.alpha);
    zrb::DrawAnim(imgParticles, floater.type + kEasyLabelOffset * easyMode, floater.x,
                  floater.y - floater.age);
  } else if (floater.type == kRingParticle) {
    floater.radius += 6;
    floater.angle += 1;
    floater.alpha -= 0.02;
    zrb::SetAlphaMode(floater.alpha);
    zrb::DrawAnim(imgItems, ParticleFrame(floater.type),
                  zrb::TruncateToInt(floater.x + floater.radius * zrb::Sin(floater.angle)),
                  zrb::TruncateToInt(floater.y - floater.radius * zrb::Cos(floater.angle)));
  } else {
    const double dx = floater.speed * zrb::Sin(floater.angle);
    const double dy = -floater.speed * zrb::Cos(floater.angle);
    floater.x = zrb::TruncateToInt(floater.x + dx);
    floater.y = zrb::TruncateToInt(floater.y + dy);
    floater.alpha -= 0.02;
    zrb::SetAlphaMode(floater.alpha);
    zrb::DrawAnim(imgItems, ParticleFrame(floater.type), zrb::TruncateToInt(floater.x + dx),
                  zrb::TruncateToInt(floater.y + dy));
  }
}

}  // namespace

void SpawnFloater(int32_t x, int32_t y, int32_t type) {
  zrb::AppendArray(floaters, NewFloater(x, y, type));
}

void SpawnRing(int32_t x, int32_t y) {
  // The angle advances by 22.5 degrees and is cut to whole degrees each time: 0, 22, ... 352.
  double angle = 0;
  for (int32_t i = 0; i < 17; ++i) {
    FloaterRecord particle = NewFloater(x, y, kRingParticle);
    particle.radius = 8.0;
    particle.angle = angle;
    zrb::AppendArray(floaters, particle);
    angle = zrb::TruncateToInt(angle + 22.5);
  }
}

void SpawnBurst(int32_t x, int32_t y, BurstSize size) {
  int32_t count = 11;
  int32_t type = kSmallBurstParticle;
  int32_t speedRange = 6;
  if (size == BurstSize::kMedium) {
    count = 17;
    type = kMediumBurstParticle;
    speedRange = 5;
  } else if (size == BurstSize::kLarge) {
    count = 21;
    type = kLargeBurstParticle;
  }
  for (int32_t i = 0; i < count; ++i) {
    FloaterRecord particle = NewFloater(x + 16, y + 16, type);
    particle.angle = zrb::Random(358) + 1;
    particle.speed = zrb::Random(speedRange) + 2;
    zrb::AppendArray(floaters, particle);
  }
}

void SpawnSparkles(int32_t x0, int32_t y0) {
  for (int32_t i = 0; i < 8; ++i) {
    for (int32_t j = 0; j < 8; ++j) {
      if (zrb::Random(100) > 49) continue;
      SparkleRecord sparkle;
      sparkle.x = x0 + 4 * j;
      sparkle.y = y0 + 4 * i;
      sparkle.red = zrb::Random(191) + 64;
      sparkle.green = zrb::Random(191) + 64;
      sparkle.blue = zrb::Random(191) + 64;
      sparkle.alpha = 1.1;
      sparkle.vy = -4.0;
      sparkle.vx = j > 3 ? 1 : -1;
      sparkle.life = kSparkleLife;
      zrb::AppendArray(sparkles, sparkle);
    }
  }
}

void UpdateFloaters() {
  int32_t i = 0;
  while (i < RecordCount(floaters)) {
    FloaterRecord& floater = floaters(i);
    DrawFloater(floater);
    floater.age += 1;
    if (floater.age >= kFloaterLifetime) {
      RemoveRecord(floaters, i);
    } else {
      ++i;
    }
  }
  zrb::SetAlphaMode(0);
}

void UpdateSparkles() {
  int32_t i = 0;
  while (i < RecordCount(sparkles)) {
    SparkleRecord& sparkle = sparkles(i);
    zrb::SetAlphaMode(sparkle.alpha);
    zrb::DrawRect(zrb::TruncateToInt(sparkle.x), zrb::TruncateToInt(sparkle.y), 4, 4,
                  sparkle.red + 256 * sparkle.green + 65536 * sparkle.blue);
    sparkle.alpha -= 0.025;
    sparkle.vy += 0.25;
    sparkle.y += sparkle.vy + 0.5;
    if (zrb::Random(80) >= 70) sparkle.x += sparkle.vx;
    sparkle.life -= 1;
    // A spent sparkle lingers until a one-in-eleven draw takes it or it falls off the field.
    if ((sparkle.life < 0 && zrb::Random(10) == 1) || sparkle.y > kSparkleFloor) {
      RemoveRecord(sparkles, i);
    } else {
      ++i;
    }
  }
  zrb::SetAlphaMode(0);
}

}  // namespace tundrel
