// The instruction pages and the credits.
#include "engine/graphics/draw.h"
#include "engine/values/data_block.h"
#include "game/catalogue.h"
#include "game/front_end.h"
#include "game/state.h"
#include "game/text.h"

namespace tundrel {
namespace {

constexpr int32_t kPageTextColumn = 6;
constexpr int32_t kPageTextTop = 220;
constexpr int32_t kLineHeight = 20;
constexpr int32_t kCreditsColumn = 10;

constexpr const char* kCreditLines[] = {
    "coding: ansel frostmoss",
    "pixels: ivy tundrelle",
    "music : bram kjellvik",
};

void DrawScreenFrame() {
  zrb::DrawSprite(imgMainMenu, 0, 0);
  PrintText(makerNotice, 9, 450);
}

// Lines until the closing "#"; the first line is printed whatever it holds.
void PrintPageLines(DataBlock& page) {
  zrb::RestoreData(page);
  EngineString line;
  zrb::ReadData(line);
  for (int32_t y = kPageTextTop;; y += kLineHeight) {
    PrintText(line, kPageTextColumn, y);
    zrb::ReadData(line);
    if (line == "#") return;
  }
}

void DrawPagePicture(int32_t page) {
  switch (page) {
    case 1:
      zrb::DrawAnim(imgPlayer, 2, 270, 322);
      zrb::DrawAnim(imgItems, 0, 304, 322);
      zrb::DrawAnim(imgPlayer, 15, 336, 322);
      break;
    case 2:
      zrb::DrawAnim(imgPlayer, 4, 286, 322);
      zrb::DrawAnim(imgPlayer, 13, 320, 322);
      break;
    case 3:
      zrb::DrawAnim(imgPlayer, 3, 240, 322);
      zrb::DrawAnim(imgSpray, 0, 266, 330);
      zrb::DrawAnim(imgWebs, 0, 304, 322);
      zrb::DrawAnim(imgWebs, 0, 336, 322);
      // Nella shows through the web that holds her.
      zrb::SetAlphaMode(0.9);
      zrb::DrawAnim(imgPlayer, 10, 336, 322);
      zrb::SetAlphaMode(0);
      zrb::DrawAnim(imgEnemies, 0, 368, 322);
      break;
    default:
      zrb::DrawAnim(imgPlayer, 4, 286, 322);
      zrb::DrawAnim(imgPlayer, 13, 320, 322);
      zrb::DrawAnim(imgSpray, 2, 244, 330);
      zrb::DrawAnim(imgSpray, 8, 346, 330);
      zrb::DrawAnim(imgEnemies, 3, 184, 322);
      zrb::DrawAnim(imgEnemies, 15, 420, 322);
      break;
  }
}

}  // namespace

void InstructionsScreen() {
  DataBlock* pages[] = {&instructionsPage1, &instructionsPage2, &instructionsPage3,
                        &instructionsPage4};
  for (int32_t page = 1; page <= 4; ++page) {
    // The first wait also takes the release of the key that opened the screen.
    WaitKey();
    screenName = "instructions";
    zrb::ClearScreen(0);
    DrawScreenFrame();
    PrintText("instructions", 14, 185);
    PrintText("press any key to continue.", 7, 360);
    PrintPageLines(*pages[page - 1]);
    DrawPagePicture(page);
    DrawFrontStatus();
    FinishFrame();
  }
  WaitKey();
}

void CreditsScreen() {
  screenName = "credits";
  zrb::ClearScreen(0);
  PlayBlip();
  DrawScreenFrame();
  PrintText("credits", 16, 200);
  PrintText("press any key to exit.", 9, 360);
  int32_t y = 260;
  for (const char* line : kCreditLines) {
    PrintText(line, kCreditsColumn, y);
    y += kLineHeight;
  }
  DrawFrontStatus();
  FinishFrame();
  KeyReleaseWait();
  PlayBlip();
}

}  // namespace tundrel
