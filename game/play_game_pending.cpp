// TEMPORARY: stands in for the game loop and the items until the gameplay lands; the
// gameplay branch deletes this file. A "game" here is only the selection screen.
#include "game/game_loop.h"
#include "game/selection.h"
#include "game/webs_items.h"

namespace tundrel {

void PlayGame() {
  SelectPenguin();
}

void UpdateItems() {}

}  // namespace tundrel
