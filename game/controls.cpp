#include "game/controls.h"

#include <cstring>

namespace tundrel {
namespace {

constexpr ControlRow kControls[] = {
    {"title, instructions, credits", "any key but Alt goes on"},
    {"main menu",
     "Up/Down move, Enter or left Ctrl chooses, Tab opens the settings, Escape "
     "asks to leave"},
    {"settings", "Up/Down move, Enter, left Ctrl or Space switches, Escape goes back"},
    {"penguin choice",
     "Up/Down the penguin, Left/Right the difficulty, Enter, left Ctrl or "
     "Space starts"},
    {"round", "arrows move, Space or left Ctrl sprays, Escape asks to leave the game"},
    {"leave? (y/n)", "Right or Y leaves, Left, N or Escape stays"},
    {"anywhere", "Alt+Enter window or full screen, F12 screenshot, Alt+F4 ends at once"},
    {"joypad (--joypad on)",
     "stick or D-pad as the arrows; in the menus A or Start as Enter, B "
     "or Back as Escape; in a round A or B sprays, Back asks to leave"},
};

constexpr size_t kIndent = 25;
constexpr size_t kWidth = 79;

// One row: its place, then its keys wrapped at word ends into the column beside it.
std::string HelpRow(const ControlRow& row) {
  std::string text = std::string("  ") + row.where;
  std::string line = text.size() < kIndent ? text + std::string(kIndent - text.size(), ' ')
                                           : text + "\n" + std::string(kIndent, ' ');
  std::string out;
  const char* word = row.keys;
  bool lineEmpty = true;
  while (*word != '\0') {
    const char* end = std::strchr(word, ' ');
    if (end == nullptr) end = word + std::strlen(word);
    const std::string piece(word, end);
    if (!lineEmpty && line.size() + 1 + piece.size() > kWidth) {
      out += line + "\n";
      line = std::string(kIndent, ' ');
      lineEmpty = true;
    }
    line += (lineEmpty ? "" : " ") + piece;
    lineEmpty = false;
    word = *end == ' ' ? end + 1 : end;
  }
  return out + line + "\n";
}

std::string BuildHelp() {
  std::string text = "Keys:\n";
  for (const ControlRow& row : kControls)
    text += HelpRow(row);
  return text;
}

}  // namespace

std::span<const ControlRow> Controls() {
  return kControls;
}

const char* ControlsHelpText() {
  static const std::string text = BuildHelp();
  return text.c_str();
}

}  // namespace tundrel
