// The settings menu: full screen, sound, scanlines, and the way back.
#include "engine/audio/music.h"
#include "engine/frame/screen.h"
#include "engine/frame/show_screen.h"
#include "engine/graphics/draw.h"
#include "game/catalogue.h"
#include "game/front_end.h"
#include "game/keys.h"
#include "game/player_options.h"
#include "game/settings_file.h"
#include "game/state.h"
#include "game/text.h"

namespace tundrel {
namespace {

constexpr int32_t kLines = 4;
constexpr int32_t kLineColumn = 10;
constexpr int32_t kFirstLineY = 240;
constexpr int32_t kLineHeight = 20;
constexpr int kReleasePauseMs = 250;

const char* SwitchText(int32_t value, const char* whenOff, const char* whenOn) {
  return value == 1 ? whenOn : whenOff;
}

void DrawSettings(int32_t settingsItem) {
  zrb::DrawSprite(imgMainMenu, 0, 0);
  PrintText(makerNotice, 9, 450);
  PrintText("settings", 15, 200);
  PrintText("press fire or space to select.", 5, 360);
  PrintText(SwitchText(fullScreen, "fullscreen on/(off)", "fullscreen (on)/off"), kLineColumn,
            kFirstLineY);
  PrintText(SwitchText(soundOn, "sound on/(off)", "sound (on)/off"), kLineColumn,
            kFirstLineY + kLineHeight);
  PrintText(SwitchText(scanlinesOn, "scanlines on/(off)", "scanlines (on)/off"), kLineColumn,
            kFirstLineY + 2 * kLineHeight);
  PrintText("return to menu", kLineColumn, kFirstLineY + 3 * kLineHeight);
  DrawFrontStatus();
  PrintText("|", kLineColumn - 1, kFirstLineY + kLineHeight * settingsItem);
}

int32_t Switched(int32_t value) {
  return value == 0 ? 1 : 0;
}

bool SelectDown() {
  return KeyDown(kKeyEnter) || KeyDown(kKeyLeftCtrl) || KeyDown(kKeySpace);
}

void WaitSelectKeysUp() {
  while (SelectDown()) {
  }
}

void AwaitKeyRelease() {
  WaitKeyPressAndRelease();
  zrb::SleepMs(kReleasePauseMs);
}

}  // namespace

void SettingsMenu() {
  WaitKey();
  zrb::ClearScreen(0);
  int32_t settingsItem = 0;
  int32_t settingsDone = 0;
  int32_t awaitRelease = 0;

  for (;;) {
    if (settingsDone == 1) {
      PlayBlip();
      SaveSettingsInBrowser();
      return;
    }
    screenName = "settings";
    DrawSettings(settingsItem);

    int32_t heldKey = 0;
    awaitRelease = 0;
    if (KeyDown(kKeyUp)) {
      PlayBlip();
      if (--settingsItem < 0) settingsItem = kLines - 1;
      heldKey = kKeyUp;
    }
    if (KeyDown(kKeyDown)) {
      PlayBlip();
      heldKey = kKeyDown;
      if (++settingsItem == kLines) settingsItem = 0;
    }
    FinishFrame();
    if (heldKey != 0) WaitKeyUp(heldKey);

    if (KeyDown(kKeyEscape)) {
      settingsDone = 1;
      awaitRelease = 1;
    }
    if (awaitRelease == 1) {
      AwaitKeyRelease();
      awaitRelease = 0;
    }

    if (SelectDown()) {
      awaitRelease = 1;
      switch (settingsItem) {
        case 0:
          ToggleFullScreen();
          PlayBlip();
          awaitRelease = 0;
          // One switch per press: a held key must not flip the display mode back and forth
          // every frame. The mode change shows frames of its own, so a short press is often
          // over by now and nothing more is waited for.
          WaitSelectKeysUp();
          break;
        case 1:
          PlayBlip();  // still in the old state: only switching off is heard
          soundOn = Switched(soundOn);
          if (soundOn == 0 && zrb::MusicPlaying() == 1) zrb::StopMusic();
          if (soundOn == 1) zrb::PlayMusic(kThemeMusic, 1);
          break;
        case 2:
          PlayBlip();
          scanlinesOn = Switched(scanlinesOn);
          break;
        default:
          PlayBlip();
          settingsDone = 1;
          break;
      }
      if (awaitRelease == 1) {
        AwaitKeyRelease();
        awaitRelease = 0;
      }
    }
  }
}

}  // namespace tundrel
