// How every screen ends its frame, the common key wait and the menu blip.
#include "engine/audio/sound.h"
#include "engine/frame/show_screen.h"
#include "engine/graphics/draw.h"
#include "engine/input/input.h"
#include "game/catalogue.h"
#include "game/state.h"
#include "game/text.h"

namespace tundrel {
namespace {

constexpr double kScanlineStrength = 0.2;
constexpr int kAfterKeyPauseMs = 250;

// Blocks until some key is down; returns its code (1..255), lowest code first.
int32_t WaitForAnyKeyDown() {
  for (;;) {
    for (int32_t code = 0; code <= 255; ++code) {
      if (zrb::KeyState(code) == 1) {
        if (code >= 1) return code;
        break;  // a scan that finds only code 0 starts over
      }
    }
  }
}

}  // namespace

void FinishFrame() {
  if (scanlinesOn == 1) {
    zrb::SetAlphaMode(kScanlineStrength);
    zrb::DrawSprite(imgScanlines, 0, 0);
    zrb::SetAlphaMode(0);
  }
  zrb::ShowScreen();
}

bool JoypadPushed() {
  if (joypadEnabled != 1) return false;
  double x = 0, y = 0, b1 = 0, b2 = 0;
  zrb::JoystickState(x, y, b1, b2);
  // A button reads 128 when pressed, so only a fully pushed stick counts in practice.
  return x == -1 || x == 1 || y == -1 || y == 1 || b1 == 1 || b1 == 2;
}

void WaitKeyPressAndRelease() {
  const int32_t key = WaitForAnyKeyDown();
  while (zrb::KeyState(key) == 1) {
    if (JoypadPushed()) return;
  }
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
