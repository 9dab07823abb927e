// What a run needs before start-up: paths made absolute (start-up changes the working
// directory), the working directory checked, the input script read, the trace file opened.
#pragma once

#include <string>

#include "engine/frame/command_line.h"

namespace zrb::frame {

// False with a message when the run cannot start as asked.
bool PrepareRun(CommandLineOptions* options, std::string* error);

}  // namespace zrb::frame
