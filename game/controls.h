// Which keys work where, as the screens read them: the one table --help prints and the manual
// page and README repeat.
#pragma once

#include <span>
#include <string>

namespace tundrel {

struct ControlRow {
  const char* where;
  const char* keys;
};

std::span<const ControlRow> Controls();

// The table as --help shows it, before the options.
const char* ControlsHelpText();

}  // namespace tundrel
