// The two yes/no questions: leave the program (from the menu) or the current game.
#include "engine/frame/show_screen.h"
#include "engine/graphics/draw.h"
#include "game/catalogue.h"
#include "game/front_end.h"
#include "game/keys.h"
#include "game/state.h"
#include "game/text.h"

namespace tundrel {
namespace {

constexpr int32_t kLeaveProgram = 1;
constexpr int32_t kAnswerNo = 1;
constexpr int32_t kAnswerYes = 2;
constexpr int32_t kLossByQuitting = 2;
constexpr int kPauseMs = 250;

void DrawQuestion(int32_t mode) {
  zrb::DrawSprite(imgMainMenu, 0, 0);
  PrintText(makerNotice, 9, 450);
  if (mode == kLeaveProgram) {
    PrintText("exit to windows (y/n)?", 9, 220);
  } else {
    PrintText("exit current game (y/n)?", 8, 220);
  }
  PrintText("press right to confirm", 9, 270);
  PrintText("left to return to game.", 9, 290);
  if (mode == kLeaveProgram) {
    DrawFrontStatus();
  } else {
    DrawQuitStatus();
  }
  zrb::DrawAnim(imgPlayer, 15, 270, 338);
  zrb::DrawAnim(imgItems, 0, 304, 338);
  zrb::DrawAnim(imgPlayer, 2, 336, 338);
}

}  // namespace

void ConfirmExit(int32_t mode) {
  PlayBlip();
  zrb::SleepMs(kPauseMs);
  zrb::ClearScreen(0);
  int32_t answer = 0;
  for (;;) {
    screenName = mode == kLeaveProgram ? "confirm-exit" : "confirm-quit";
    DrawQuestion(mode);
    FinishFrame();

    if (KeyDown(kKeyLeft) || KeyDown(kKeyN)) answer = kAnswerNo;
    if (KeyDown(kKeyRight) || KeyDown(kKeyY)) answer = kAnswerYes;
    if (KeyDown(kKeyEscape)) {
      answer = kAnswerNo;
      WaitKeyPressAndRelease();
      zrb::SleepMs(kPauseMs);
      zrb::SleepMs(kPauseMs);
      PlayBlip();
    }
    if (answer == kAnswerYes) {
      if (mode == kLeaveProgram) {
        quitRequested = 1;
      } else {
        inGame = 0;
        lossReason = kLossByQuitting;
      }
    }
    if (answer != 0) return;
  }
}

}  // namespace tundrel
