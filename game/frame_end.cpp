// How every screen ends its frame, the common key wait and the menu blip.
#include "engine/audio/sound.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/show_screen.h"
#include "engine/graphics/draw.h"
#include "engine/input/input.h"
#include "game/catalogue.h"
#include "game/keys.h"
#include "game/state.h"
#include "game/text.h"

namespace tundrel {
namespace {

constexpr double kScanlineStrength = 0.2;
constexpr int kAfterKeyPauseMs = 250;

}  // namespace

void FinishFrame() {
  // Only a press that may still read as down can ask about this frame (one opened later is
  // seen after it began), so only then is the clock read.
  const double startMs = AnyPressOpen() ? zrb::InputSampleMs() : -1e300;
  NoteFrameBegun(startMs);
  if (scanlinesOn == 1) {
    zrb::SetAlphaMode(kScanlineStrength);
    zrb::DrawSprite(imgScanlines, 0, 0);
    zrb::SetAlphaMode(0);
  }
  zrb::ShowScreen();
  const bool timed = AnyPressOpen();
  NoteFrameShown(timed ? startMs : -1e300, timed ? zrb::InputSampleMs() : -1e300);
}

void WaitKeyPressAndRelease() {
  int32_t key = 0;
  while (key == 0)
    key = FirstKeyDown();
  WaitKeyUp(key);
}

void WaitKey() {
  WaitKeyPressAndRelease();
  zrb::SleepMs(kAfterKeyPauseMs);
  PlayBlip();
}

void PlayBlip() {
  if (soundOn == 1) zrb::PlaySound(sndBlip, 0, 1);
}

}  // namespace tundrel
