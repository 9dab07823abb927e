// Webs: catching, pulling in and holding penguins; power mode tears them down.
#include "engine/audio/sound.h"
#include "engine/graphics/draw.h"
#include "game/catalogue.h"
#include "game/effects.h"
#include "game/penguins.h"
#include "game/record_lists.h"
#include "game/state.h"
#include "game/webs_items.h"

namespace tundrel {
namespace {

constexpr int32_t kWebFrames = 4;
constexpr int32_t kWebFrameTicks = 11;
constexpr int32_t kWebCatchMask = 4;      // webs strip frame of the web's catching shape
constexpr int32_t kPenguinCatchMask = 5;  // webs strip frame of a penguin's catchable shape

// A web that has caught something cycles its four frames, one step every eleven frames.
void Animate(WebRecord& web) {
  if (web.active != 1) return;
  if (web.frameCounter + 1 < kWebFrameTicks) {
    web.frameCounter += 1;
  } else {
    web.frameCounter = 0;
    web.frame = (web.frame + 1) % kWebFrames;
  }
}

int32_t PullBit(int32_t which) {
  return which == 1 ? 1 : 2;
}

int32_t StepToward(int32_t from, int32_t to) {
  if (from < to) return from + 1;
  if (from > to) return from - 1;
  return from;
}

void Pull(Penguin& penguin, const WebRecord& web) {
  penguin.x = StepToward(penguin.x, web.x);
  penguin.y = StepToward(penguin.y, web.y);
}

bool Touches(const WebRecord& web, const Penguin& penguin) {
  return penguin.webState == 0 && zrb::AnimCollision(imgWebs, kWebCatchMask, web.x, web.y, imgWebs,
                                                     kPenguinCatchMask, penguin.x, penguin.y) != 0;
}

// Power mode: the penguin tears the web down.
void DestroyWeb(int32_t index) {
  const WebRecord web = webs(index);
  AddScore(100);
  SpawnFloater(web.x, web.y, 0);
  SpawnBurst(web.x, web.y, BurstSize::kSmall);
  ReleaseWebPenguins(web);
  RemoveRecord(webs, index);
}

// Catch, pull and hold for one web. False when the web was destroyed.
bool CatchPullHold(int32_t index, bool powerRule) {
  for (int32_t which = 1; which <= 2; ++which) {
    Penguin& penguin = PenguinByNumber(which);
    if (!Touches(webs(index), penguin)) continue;
    if (powerRule && penguinSteps == 2) {
      DestroyWeb(index);
      return false;
    }
    if (soundOn == 1) zrb::PlaySound(sndSuckIntoWeb);
    penguin.webState = 1;
    webs(index).active = 1;
    webs(index).pulling |= PullBit(which);
  }

  WebRecord& web = webs(index);
  if ((web.pulling & 1) != 0) Pull(penguin1, web);
  if ((web.pulling & 2) != 0) Pull(penguin2, web);

  for (int32_t which = 1; which <= 2; ++which) {
    Penguin& penguin = PenguinByNumber(which);
    if (penguin.webState == 1 && penguin.x == web.x && penguin.y == web.y) {
      penguin.webState = 2;
      web.holding = which;
      web.pulling &= ~PullBit(which);
    }
  }
  return true;
}

}  // namespace

void AddWeb(int32_t cellX, int32_t cellY) {
  WebRecord web;
  web.x = 32 * cellX + 48;
  web.y = 32 * cellY + 48;
  zrb::AppendArray(webs, web);
}

void AddCatchWeb(int32_t x, int32_t y, int32_t which) {
  WebRecord web;
  web.x = x;
  web.y = y;
  web.active = 1;
  web.holding = which;
  zrb::AppendArray(webs, web);
}

void ReleaseWebPenguins(const WebRecord& web) {
  if (web.holding == 1) penguin1.webState = 0;
  if (web.holding == 2) penguin2.webState = 0;
  // A penguin still on its way into the web is let go too; otherwise it would wait forever
  // for a web that is gone.
  if ((web.pulling & 1) != 0 && penguin1.webState == 1) penguin1.webState = 0;
  if ((web.pulling & 2) != 0 && penguin2.webState == 1) penguin2.webState = 0;
}

void UpdateWebs() {
  int32_t i = 0;
  while (i < RecordCount(webs)) {
    WebRecord& web = webs(i);
    zrb::DrawAnim(imgWebs, web.frame, web.x, web.y);
    Animate(web);
    if (CatchPullHold(i, true)) ++i;
  }
}

void WebCatchPass() {
  int32_t i = 0;
  while (i < RecordCount(webs)) {
    Animate(webs(i));
    if (CatchPullHold(i, false)) ++i;
  }
}

}  // namespace tundrel
