// The end of a round: celebration, time bonus, bonus-round reward, the next round's card.
#pragma once

namespace tundrel {

void RoundComplete();

}  // namespace tundrel
