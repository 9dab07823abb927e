#include "game/penguins.h"

#include <utility>

#include "engine/audio/sound.h"
#include "engine/graphics/draw.h"
#include "engine/input/input.h"
#include "engine/values/numeric.h"
#include "game/catalogue.h"
#include "game/effects.h"
#include "game/enemies.h"
#include "game/maze.h"
#include "game/round_end.h"
#include "game/state.h"
#include "game/text.h"
#include "game/webs_items.h"

namespace tundrel {
namespace {

constexpr int kKeyLeftCtrl = 29;
constexpr int kKeySpace = 57;
constexpr int kKeyUp = 200;
constexpr int kKeyLeft = 203;
constexpr int kKeyRight = 205;
constexpr int kKeyDown = 208;

constexpr int32_t kLeftBound = 82;
constexpr int32_t kRightBound = 528;
constexpr int32_t kTopBound = 80;
constexpr int32_t kBottomBound = 368;
constexpr int32_t kWalkTicks = 10;
constexpr int32_t kSprayTicks = 9;

constexpr int32_t kSwapGlide = 3;
constexpr int32_t kSwapArrival = 7;
// A gliding copy that misses its goal by more than the arrival distance (the heading is cut
// to whole degrees, so a long glide can pass the goal at up to nine pixels) would glide on
// for ever; the glide also ends once the copy stops closing in, and after this many frames.
constexpr int32_t kSwapMaxFrames = 400;

struct PadReading {
  int32_t horizontal = 0;
  int32_t vertical = 0;
  bool fire = false;
};

PadReading ReadPad() {
  PadReading pad;
  if (joypadEnabled != 1) return pad;
  double x = 0, y = 0, button1 = 0, button2 = 0;
  zrb::JoystickState(x, y, button1, button2);
  pad.horizontal = x == -1 ? -2 : (x == 1 ? 2 : 0);
  pad.vertical = y == -1 ? -2 : (y == 1 ? 2 : 0);
  // A device reads 128 for a pressed button: any value but 0 is pressed.
  pad.fire = button1 != 0 || button2 != 0;
  return pad;
}

// The two probe points (relative to the maze origin) that must be free for a step.
struct Probes {
  int32_t x1, y1, x2, y2;
};

// A step of 2 pixels when both probes lie on free cells, the bound allows it and the penguin
// neither sprays nor hangs in a web. True when it stepped.
bool TryStep(Penguin& penguin, const Probes& probes, bool withinBounds, int32_t dx, int32_t dy,
             int32_t dirBase, int32_t facing) {
  if (!IsFreePoint(probes.x1, probes.y1) || !IsFreePoint(probes.x2, probes.y2)) return false;
  if (!withinBounds || penguin.spraying != 0 || penguin.webState != 0) return false;
  penguin.x += dx;
  penguin.y += dy;
  penguin.dirBase = dirBase;
  penguin.facing = facing;
  return true;
}

void AnimateWalk(Penguin& penguin, bool moved, int32_t idleBase) {
  if (moved) {
    penguin.walkCounter += 1;
    if (penguin.walkCounter >= kWalkTicks) {
      penguin.walkCounter = 0;
      penguin.walkFrame = 1 - penguin.walkFrame;
    }
  } else {
    penguin.dirBase = idleBase;
    penguin.walkFrame = 0;
  }
}

void UpdateSpraying(const PadReading& pad) {
  penguin1.spraying = 0;
  penguin2.spraying = 0;
  if (zrb::KeyState(kKeyLeftCtrl) != 0 || zrb::KeyState(kKeySpace) != 0 || pad.fire) {
    if (soundOn == 1 && zrb::SoundPlaying(sprayChannel) == 0) {
      sprayChannel = zrb::PlaySound(sndSpray);
    }
    if (penguin1.webState == 0) penguin1.spraying = 1;
    if (penguin2.webState == 0) penguin2.spraying = 1;
  }
  if (penguin1.spraying == 0 && penguin2.spraying == 0 && soundOn == 1) {
    zrb::StopSound(sprayChannel);
  }
}

void PenguinStep() {
  const int32_t ox1 = penguin1.x - 48;
  const int32_t oy1 = penguin1.y - 48;
  const int32_t ox2 = penguin2.x - 48;
  const int32_t oy2 = penguin2.y - 48;
  const PadReading pad = ReadPad();
  UpdateSpraying(pad);

  bool moved1 = false;
  bool moved2 = false;
  if (zrb::KeyState(kKeyLeft) != 0 || pad.horizontal < 0) {
    moved1 |= TryStep(penguin1, {ox1 - 2, oy1 + 2, ox1 - 2, oy1 + 29}, penguin1.x > kLeftBound, -2,
                      0, 4, 4);
    moved2 |= TryStep(penguin2, {ox2 + 33, oy2 + 2, ox2 + 33, oy2 + 29}, penguin2.x < kRightBound,
                      2, 0, 12, 12);
  }
  if (zrb::KeyState(kKeyRight) != 0 || pad.horizontal > 0) {
    moved1 |= TryStep(penguin1, {ox1 + 33, oy1 + 2, ox1 + 33, oy1 + 29}, penguin1.x < kRightBound,
                      2, 0, 2, 3);
    moved2 |= TryStep(penguin2, {ox2 - 2, oy2 + 2, ox2 - 2, oy2 + 29}, penguin2.x > kLeftBound, -2,
                      0, 14, 14);
  }
  if (zrb::KeyState(kKeyUp) != 0 || pad.vertical < 0) {
    moved1 |= TryStep(penguin1, {ox1 + 2, oy1 - 2, ox1 + 29, oy1 - 2}, penguin1.y > kTopBound, 0,
                      -2, 6, 7);
    moved2 |= TryStep(penguin2, {ox2 + 2, oy2 - 2, ox2 + 29, oy2 - 2}, penguin2.y > kTopBound, 0,
                      -2, 16, 16);
  }
  if (zrb::KeyState(kKeyDown) != 0 || pad.vertical > 0) {
    moved1 |= TryStep(penguin1, {ox1 + 2, oy1 + 33, ox1 + 29, oy1 + 33}, penguin1.y < kBottomBound,
                      0, 2, 8, 8);
    moved2 |= TryStep(penguin2, {ox2 + 2, oy2 + 33, ox2 + 29, oy2 + 33}, penguin2.y < kBottomBound,
                      0, 2, 18, 18);
  }
  AnimateWalk(penguin1, moved1, 0);
  AnimateWalk(penguin2, moved2, 10);
}

bool InRange(int32_t value, int32_t low, int32_t high) {
  return value >= low && value <= high;
}

// The two walked into each other on either side of the heart cage.
bool PenguinsMeet() {
  if (penguin1.y >= 84 || penguin2.y >= 84) return false;
  if (InRange(penguin1.x, 321, 335) && penguin1.dirBase == 4 && InRange(penguin2.x, 273, 287) &&
      penguin2.dirBase == 12) {
    return true;
  }
  return InRange(penguin1.x, 273, 287) && penguin1.dirBase == 2 && InRange(penguin2.x, 321, 335) &&
         penguin2.dirBase == 14;
}

// The spray's strip frame and place for a facing: right, left, down, up.
struct SprayPlacement {
  bool shown = false;
  int32_t frame = 0;
  int32_t dx = 0;
  int32_t dy = 0;
};

SprayPlacement PlaceSpray(int32_t direction, int32_t offset) {
  // direction: 0 right, 1 left, 2 down, 3 up; the strip holds a pair of frames for each.
  static constexpr int32_t kDx[] = {28, -44, -2, 24};
  static constexpr int32_t kDy[] = {7, 7, 17, -28};
  SprayPlacement placement;
  if (direction < 0) return placement;
  placement.shown = true;
  placement.frame = sprayFrame + offset + 2 * direction;
  placement.dx = kDx[direction];
  placement.dy = kDy[direction];
  return placement;
}

int32_t SprayDirection1(int32_t facing) {
  switch (facing) {
    case 3:
      return 0;
    case 4:
      return 1;
    case 8:
      return 2;
    case 7:
      return 3;
    default:
      return -1;
  }
}

int32_t SprayDirection2(int32_t facing) {
  switch (facing) {
    case 12:
      return 0;
    case 14:
      return 1;
    case 18:
      return 2;
    case 16:
      return 3;
    default:
      return -1;
  }
}

void Spray(const Penguin& penguin, const SprayPlacement& placement) {
  if (!placement.shown) return;
  const int32_t sx = penguin.x + placement.dx;
  const int32_t sy = penguin.y + placement.dy;
  SprayWebs(imgSpray, placement.frame, sx, sy);
  SprayEnemies(imgSpray, placement.frame, sx, sy);
}

double Distance(double x1, double y1, double x2, double y2) {
  return zrb::Sqrt((x1 - x2) * (x1 - x2) + (y1 - y2) * (y1 - y2));
}

// Heading, in whole degrees, of a glide from (fromX, fromY) toward (toX, toY).
int32_t GlideHeading(int32_t fromX, int32_t fromY, int32_t toX, int32_t toY) {
  return zrb::Mod(zrb::TruncateToInt(zrb::Atan(toY - fromY, toX - fromX) + 90), 360);
}

}  // namespace

Penguin& PenguinByNumber(int32_t which) {
  return which == 2 ? penguin2 : penguin1;
}

void ResetPenguins() {
  if (sideSwap == 10) {
    penguin1.x = 272;
    penguin2.x = 336;
  } else {
    penguin1.x = 336;
    penguin2.x = 272;
  }
  penguin1.y = 368;
  penguin2.y = 368;
  for (Penguin* penguin : {&penguin1, &penguin2}) {
    penguin->walkCounter = 0;
    penguin->walkFrame = 0;
    penguin->dirBase = 0;
  }
}

void MovePenguins() {
  for (int32_t step = 0; step < penguinSteps; ++step)
    PenguinStep();

  if (PenguinsMeet()) {
    if (soundOn == 1) zrb::PlaySound(sndDing);
    RoundComplete();
  }
  // A bonus round ends when its time is up.
  if (bonusRound == 1 && timer < 1) RoundComplete();
}

void DrawPenguins() {
  if (sideSwap == 10) {
    sprayOffset1 = 8;
    sprayOffset2 = 0;
  } else {
    sprayOffset1 = 0;
    sprayOffset2 = 8;
  }
  if (penguin1.spraying == 0) {
    zrb::DrawAnim(imgPlayer, penguin1.walkFrame + penguin1.dirBase + sideSwap, penguin1.x,
                  penguin1.y);
  }
  if (penguin2.spraying == 0) {
    zrb::DrawAnim(imgPlayer, penguin2.walkFrame + penguin2.dirBase - sideSwap, penguin2.x,
                  penguin2.y);
  }
  if (penguin1.spraying == 0 && penguin2.spraying == 0) return;

  if (penguin1.spraying != 0) {
    zrb::DrawAnim(imgPlayer, sideSwap + penguin1.facing, penguin1.x, penguin1.y);
    Spray(penguin1, PlaceSpray(SprayDirection1(penguin1.facing), sprayOffset1));
  }
  if (penguin2.spraying != 0) {
    // Before its first step the mirrored penguin has no facing: it shows its idle frame.
    const int32_t frame = penguin2.facing == 0 ? 10 - sideSwap : penguin2.facing + 1 - sideSwap;
    zrb::DrawAnim(imgPlayer, frame, penguin2.x, penguin2.y);
    Spray(penguin2, PlaceSpray(SprayDirection2(penguin2.facing), sprayOffset2));
  }
  sprayCounter += 1;
  if (sprayCounter >= kSprayTicks) {
    sprayCounter = 0;
    sprayFrame = 1 - sprayFrame;
  }
}

void SwapPenguins() {
  if (soundOn == 1) zrb::PlaySound(sndHitBird);
  birdCalm = 180;

  double ax = penguin1.x, ay = penguin1.y;
  double bx = penguin2.x, by = penguin2.y;
  double closest = Distance(penguin1.x, penguin1.y, bx, by);
  for (int32_t frame = 0; frame < kSwapMaxFrames; ++frame) {
    DrawPlayfield(1);
    UpdateEnemies(1);
    UpdateWebs();
    UpdateItems();
    UpdateFloaters();
    UpdateSparkles();
    zrb::DrawAnim(imgPlayer, penguin1.walkFrame + penguin1.dirBase + sideSwap,
                  zrb::TruncateToInt(ax), zrb::TruncateToInt(ay));
    zrb::DrawAnim(imgPlayer, penguin2.walkFrame + penguin2.dirBase - sideSwap,
                  zrb::TruncateToInt(bx), zrb::TruncateToInt(by));
    screenName = "swap";
    FinishFrame();

    const int32_t towardOne = GlideHeading(penguin2.x, penguin2.y, penguin1.x, penguin1.y);
    bx += kSwapGlide * zrb::Sin(towardOne);
    by += -kSwapGlide * zrb::Cos(towardOne);
    const int32_t towardTwo = GlideHeading(penguin1.x, penguin1.y, penguin2.x, penguin2.y);
    ax += kSwapGlide * zrb::Sin(towardTwo);
    ay += -kSwapGlide * zrb::Cos(towardTwo);

    const double distance = Distance(penguin1.x, penguin1.y, bx, by);
    if (zrb::TruncateToInt(distance) <= kSwapArrival || distance >= closest) break;
    closest = distance;
  }

  const int32_t x1 = penguin1.x, y1 = penguin1.y;
  penguin1.x = penguin2.x;
  penguin1.y = penguin2.y;
  penguin2.x = x1;
  penguin2.y = y1;
  birdTouched = 0;

  for (int32_t i = 0; i < zrb::ArraySize(webs, 0); ++i) {
    WebRecord& web = webs(i);
    // The pull goes on with the penguin that now stands where the pulled one stood.
    if (web.pulling == 1) {
      web.pulling = 2;
    } else if (web.pulling == 2) {
      web.pulling = 1;
    }
    if (web.holding == 1) {
      web.holding = 2;
    } else if (web.holding == 2) {
      web.holding = 1;
    }
  }
  std::swap(penguin1.webState, penguin2.webState);
}

}  // namespace tundrel
