// Which penguin the player steers directly, and the difficulty.
#include "game/selection.h"
#include "engine/frame/show_screen.h"
#include "engine/graphics/draw.h"
#include "game/catalogue.h"
#include "game/keys.h"
#include "game/state.h"
#include "game/text.h"

namespace tundrel {
namespace {

constexpr int32_t kTibbo = 1;
constexpr int32_t kNella = 2;
constexpr int32_t kConfirmed = 10;  // added to the choice when the player confirms
constexpr int32_t kNellaSideSwap = 10;
constexpr int32_t kEasyNoticeFrames = 180;
// Tibbo starts right of the centre wall, nella left of it.
constexpr int32_t kTibboStartX = 336;
constexpr int32_t kNellaStartX = 272;
constexpr int32_t kStartY = 368;

void DrawChoices(int32_t choice) {
  zrb::DrawSprite(imgMainMenu, 0, 0);
  PrintText(makerNotice, 9, 450);
  PrintText("tibbo", 17, 200);
  PrintText("nella", 17, 240);
  PrintText(easyMode == 0 ? "difficulty = (normal) / easy" : "difficulty = normal / (easy)", 6,
            295);
  PrintText("select penguin with up/down.", 6, 330);
  PrintText("select mode with left/right.", 6, 350);
  PrintText("and press fire to start.", 8, 370);
  DrawFrontStatus();
  // The chosen penguin itself, facing right, is the cursor.
  if (choice == kTibbo) {
    zrb::DrawAnim(imgPlayer, 2, 220, 190);
  } else {
    zrb::DrawAnim(imgPlayer, 12, 220, 230);
  }
}

void ClearWalkState(Penguin& penguin) {
  penguin.walkCounter = 0;
  penguin.walkFrame = 0;
  penguin.dirBase = 0;
  penguin.facing = 0;
}

void PlacePenguins(int32_t choice) {
  const bool nellaFirst = choice == kNella;
  penguin1.x = nellaFirst ? kNellaStartX : kTibboStartX;
  penguin2.x = nellaFirst ? kTibboStartX : kNellaStartX;
  penguin1.y = kStartY;
  penguin2.y = kStartY;
  if (nellaFirst) sideSwap = kNellaSideSwap;
  ClearWalkState(penguin1);
  ClearWalkState(penguin2);
  penguin1.webState = 0;
}

void ShowEasyNotice() {
  for (int32_t frame = 0; frame < kEasyNoticeFrames; ++frame) {
    screenName = "easy-notice";
    zrb::ClearScreen(0);
    zrb::DrawAnim(imgItems, 10, 264, 240);
    zrb::DrawAnim(imgItems, 21, 304, 240);
    zrb::DrawAnim(imgItems, 11, 344, 240);
    PrintText("you're now playing on easy mode,", 4, 156);
    PrintText("which is a good way to practise!", 4, 176);
    PrintText("the timer won't run out, but", 6, 300);
    PrintText("there won't be any items and", 6, 320);
    PrintText("you'll only score 10% of normal!", 4, 340);
    FinishFrame();
  }
}

}  // namespace

void SelectPenguin() {
  int32_t choice = kTibbo;
  sideSwap = 0;
  zrb::SleepMs(250);
  zrb::ClearScreen(0);
  for (;;) {
    screenName = "select";
    DrawChoices(choice);
    // Only a key that changes something acts, so a held key does nothing more.
    if (KeyDown(kKeyUp) && choice == kNella) {
      choice = kTibbo;
      PlayBlip();
    }
    if (KeyDown(kKeyDown) && choice == kTibbo) {
      choice = kNella;
      PlayBlip();
    }
    if (KeyDown(kKeyLeft) && easyMode == 1) {
      easyMode = 0;
      PlayBlip();
    }
    if (KeyDown(kKeyRight) && easyMode == 0) {
      easyMode = 1;
      PlayBlip();
    }
    if (KeyDown(kKeyEnter) || KeyDown(kKeyLeftCtrl) || KeyDown(kKeySpace)) {
      PlayBlip();
      PlacePenguins(choice);
      choice += kConfirmed;
    }
    FinishFrame();
    if (choice > 9) break;
  }
  if (easyMode == 1) ShowEasyNotice();
}

}  // namespace tundrel
