// What the game program tells the engine before it starts: the window, the frame rate, the
// caption. Filled by the game's project-settings routine.
#pragma once

#include <string>

namespace zrb {

struct ProjectSettings {
  int width = 640;  // client size, in pixels
  int height = 480;
  int frameRate = 60;           // frames per second ShowScreen paces to; 0 or less: 2 ms frames
  bool fullScreen = false;      // start full screen
  bool debug = false;           // log the runtime-error record at the end; focus loss never pauses
  bool exclusiveMouse = false;  // hide the pointer for the whole run
  bool multisample = false;     // ask for a multisampled rendering context
  std::string caption;          // window title
};

}  // namespace zrb
