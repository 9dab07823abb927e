// Holds back what libraries print on standard error for a moment. Sound drivers complain
// there at length when there is no sound card (ALSA alone writes a dozen lines); the program
// says it once in its own words instead and keeps the drivers' text for the log. Whatever
// another thread writes to standard error meanwhile is held back too.
#pragma once

#include <string>

namespace zrb::platform {

class StandardErrorCapture {
 public:
  StandardErrorCapture();  // from here on, standard error goes into an anonymous file
  ~StandardErrorCapture();
  StandardErrorCapture(const StandardErrorCapture&) = delete;
  StandardErrorCapture& operator=(const StandardErrorCapture&) = delete;

  // Gives standard error back and returns what was written meanwhile (the first 64 KiB).
  // Without a file to hold the text nothing was held back, and this returns "".
  std::string Finish();

 private:
  int saved_ = -1;
  int held_ = -1;
};

}  // namespace zrb::platform
