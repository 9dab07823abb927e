#include "engine/frame/screen.h"

#include "engine/frame/engine_main.h"
#include "engine/frame/frame_state.h"
#include "engine/platform/window.h"

namespace zrb {
namespace {

constexpr int kSettleFrames = 5;

}  // namespace

void SetScreen(int width, int height, int fullScreen) {
  frame::FrameState& state = frame::State();
  if (width > 0) state.settings.width = width;
  if (height > 0) state.settings.height = height;
  state.settings.fullScreen = fullScreen != 0;
  if (!platform::SetWindowMode(width, height, fullScreen != 0) && fullScreen != 0) {
    AppendLogLine("No Fullscreen Mode available");
    state.settings.fullScreen = false;
  }
  for (int i = 0; i < kSettleFrames; ++i)
    ShowScreen();
}

}  // namespace zrb
