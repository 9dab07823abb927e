// The title picture's fade-in and the main menu.
#include "engine/audio/music.h"
#include "engine/graphics/draw.h"
#include "game/catalogue.h"
#include "game/front_end.h"
#include "game/game_loop.h"
#include "game/keys.h"
#include "game/state.h"
#include "game/text.h"

namespace tundrel {
namespace {

constexpr int32_t kMenuEntries = 5;
constexpr int32_t kMenuColumn = 15;
constexpr const char* kMenuTexts[kMenuEntries] = {"start game", "instructions", "settings",
                                                  "credits", "exit game"};
constexpr const char* kVersionText = "1.0";

// From nearly black to full strength in 60 frames.
constexpr double kFadeStart = 0.00833;
constexpr double kFadeStep = 0.0166;

void TitleFadeIn() {
  screenName = "title";
  for (double fade = kFadeStart; fade < 1.0; fade += kFadeStep) {
    zrb::ClearScreen(0);
    zrb::SetAlphaMode(fade);
    zrb::DrawSprite(imgBack0, 48, 48);
    FinishFrame();
  }
  zrb::SetAlphaMode(0);
  zrb::DrawSprite(imgBack0, 48, 48);
  PrintText("...press any key...", 10, 450);
  FinishFrame();
}

void DrawMenu(int32_t menuItem) {
  zrb::DrawSprite(imgMainMenu, 0, 0);
  PrintText(makerNotice, 9, 450);
  for (int32_t i = 0; i < kMenuEntries; ++i)
    PrintText(kMenuTexts[i], kMenuColumn, 200 + 40 * i);
  DrawFrontStatus();
  PrintText(kVersionText, 32, 384);
  // The two penguins stand either side of the chosen entry.
  zrb::DrawAnim(imgPlayer, 2, 200, 190 + 40 * menuItem);
  zrb::DrawAnim(imgPlayer, 15, 440, 190 + 40 * menuItem);
}

bool SelectDown() {
  return KeyDown(kKeyEnter) || KeyDown(kKeyLeftCtrl);
}

}  // namespace

void MainMenu() {
  quitRequested = 0;
  inGame = 0;
  int32_t menuItem = 0;
  if (soundOn == 1) zrb::PlayMusic(kThemeMusic, 1);
  TitleFadeIn();
  WaitKey();
  zrb::ClearScreen(0);

  for (;;) {
    if (quitRequested != 0) return;
    screenName = "menu";
    DrawMenu(menuItem);

    int32_t heldKey = 0;
    if (KeyDown(kKeyUp)) {
      PlayBlip();
      if (--menuItem < 0) menuItem = kMenuEntries - 1;
      heldKey = kKeyUp;
    }
    if (KeyDown(kKeyDown)) {
      PlayBlip();
      heldKey = kKeyDown;
      if (++menuItem == kMenuEntries) menuItem = 0;
    }
    FinishFrame();
    // One step per press, however long the key is held.
    if (heldKey != 0) WaitKeyUp(heldKey);

    if (SelectDown() && menuItem == 0) PlayGame();
    if (SelectDown() && menuItem == 1) InstructionsScreen();
    if (SelectDown() && menuItem == 2) SettingsMenu();
    if (SelectDown() && menuItem == 3) CreditsScreen();
    if ((SelectDown() && menuItem == 4) || KeyDown(kKeyEscape)) ConfirmExit(1);
    if (KeyDown(kKeyTab)) SettingsMenu();
  }
}

}  // namespace tundrel
