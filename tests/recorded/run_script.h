// A recorded run's script: the engine's input script, whose comment lines also say how to run
// it.
//
//   #run PROGRAM ARGUMENTS...   tundrel or tundrel_stage, and their options (--seed, --max-frames,
//                               stage options); --headless, --dir, --script, --trace and
//                               --draw-log are added
//   #file NAME HEX              a file the run finds in its working folder (bytes in hex)
//   #check NAME                 a file whose bytes after the run are part of the recording
//   #nomedia                    the run's folder lacks Media.sbx
//
// What the program writes to standard output and error is part of the recording too (the run's
// folder named <dir>).
#pragma once

#include <string>
#include <vector>

#include "recorded/run_frames.h"

namespace tundrel::recorded {

struct RunScript {
  std::string path;
  std::string program;
  std::vector<std::string> arguments;
  Fields files;
  std::vector<std::string> checked;
  bool media = true;
};

// False, with the reason in `error`, when the script lacks its #run line or a line is bad.
bool ReadRunScript(const std::string& path, RunScript& script, std::string& error);

// Runs the script headless in a fresh scratch folder beside the media archive. `buildDir` holds
// the programs and Media.sbx.
Outcome PlayRun(const RunScript& script, const std::string& buildDir);

}  // namespace tundrel::recorded
