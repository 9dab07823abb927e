// The picture under every game frame: floor, backdrop halves, item shadows, maze walls, the
// items themselves, the status line, the maker notice and the heart cage.
#include "engine/graphics/draw.h"
#include "engine/values/numeric.h"
#include "game/catalogue.h"
#include "game/state.h"
#include "game/text.h"
#include "game/webs_items.h"

namespace tundrel {
namespace {

constexpr int32_t kFloorFrame = 13;
constexpr int32_t kWebStartFrame = 2;  // items strip
constexpr int32_t kCageFrame = 0;      // items strip
constexpr int32_t kShadowMidFrame = 28;

void DrawFloor() {
  for (int32_t row = 0; row <= 9; ++row) {
    for (int32_t col = 0; col <= 14; ++col) {
      zrb::DrawAnim(imgTiles, kFloorFrame, 80 + 32 * col, 80 + 32 * row);
    }
  }
}

// Every shadow swings one step of 8 degrees per frame: frames 23 to 33 of the items strip.
void DrawItemShadows() {
  const int32_t count = zrb::ArraySize(items, 0);
  for (int32_t i = 0; i < count; ++i) {
    ItemRecord& item = items(i);
    item.shadowAngle += 8;
    if (item.shadowAngle > 359) item.shadowAngle = 0;
    const int32_t bob = zrb::TruncateToInt(zrb::Sin(item.shadowAngle) * 5);
    zrb::DrawAnim(imgItems, kShadowMidFrame - bob, item.x, item.y + 8);
  }
}

void DrawMazeCells() {
  for (int32_t row = 1; row <= 10; ++row) {
    for (int32_t col = 1; col <= 15; ++col) {
      const int32_t x = 48 + 32 * col;
      const int32_t y = 48 + 32 * row;
      const int32_t code = mazeGrid(col, row);
      if (code == 8) {
        zrb::DrawAnim(imgTiles, wallFrame, x, y);
      } else if (code == 1) {
        zrb::DrawAnim(imgItems, kWebStartFrame, x, y);
      }
    }
  }
}

}  // namespace

void DrawPlayfield(int32_t showCage) {
  UpdateStatusDigits();
  PrintText(InGameStatusText(), 1, 16);
  DrawFloor();
  zrb::DrawAnim(backdropSlot, 0, 48, 48);
  DrawItemShadows();
  DrawMazeCells();
  UpdateItems();
  zrb::DrawAnim(backdropSlot, 1, 48, 240);
  PrintText(makerNotice, 9, 450);
  if (showCage == 1) zrb::DrawAnim(imgItems, kCageFrame, 304, 80);
}

}  // namespace tundrel
