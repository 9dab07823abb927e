// The game's switch between a window and full screen.
#pragma once

namespace zrb {

// Makes the picture width x height (0 keeps that side) and the window windowed (0) or full
// screen (non-zero), then presents five frames so the new mode has settled before the game
// draws again. A full screen that cannot be had leaves a window and a log line.
void SetScreen(int width, int height, int fullScreen);

}  // namespace zrb
