// Figures of the frame loop, for benchmarks and tests.
#pragma once

namespace zrb::frame {

struct FrameStats {
  long framesPresented = 0;
  double lastDeadlineMs = 0;  // the deadline the last presented frame waited for
  double lastReleaseMs = 0;   // when it was released
  double nextDeadlineMs = 0;
  double periodMs = 0;
};

FrameStats CurrentFrameStats();

// The name of the default font start-up found ("smalfont.png", "smalfont.bmp" or "") and
// the font slot selected.
const char* DefaultFontName();
int SelectedFont();

}  // namespace zrb::frame
