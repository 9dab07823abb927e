// Scripted input: lines of "<ms> <what> ..." that the event pump delivers once the engine
// clock reaches their time. Works in a real run as well as a headless one.
//
//   <ms> key <Name|code> down|up     names as KeyCodeFromName takes them, codes 0..255
//   <ms> joy x|y <-32768..32768>
//   <ms> joy BUTTON <0|128>          button1 (or a), button2 (or b), back, start,
//                                    dpad-up, dpad-down, dpad-left, dpad-right
//   <ms> close                       the window's close request
//   <ms> focus lost|gained
//
// "#" starts a comment; blank lines are skipped. Times are milliseconds, fractions allowed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zrb::platform {

struct ScriptEvent {
  enum class Kind { kKey, kJoyAxis, kJoyButton, kClose, kFocus };
  double ms = 0;
  Kind kind = Kind::kKey;
  int code = 0;     // key code; axis (0 x, 1 y); button (ScriptedJoypadButton)
  int value = 0;    // axis position, button value
  bool on = false;  // key down, focus gained
  int line = 0;     // where it stood in the file
};

// Parses a whole script. On the first malformed line: false, and *error reads
// "<sourceName>:<line>: <what is wrong>". Events come out ordered by time, lines of the same
// time in file order.
bool ParseInputScript(std::string_view text, std::string_view sourceName,
                      std::vector<ScriptEvent>* events, std::string* error);

// Reads and parses a script file and makes it the one the pump delivers from.
bool LoadInputScript(const std::string& path, std::string* error);

// Makes `events` the script the pump delivers from (already ordered).
void SetInputScript(std::vector<ScriptEvent> events);
void ClearInputScript();

// The next event due at `nowMs` that has not been delivered yet; each is delivered once.
bool TakeDueScriptEvent(double nowMs, ScriptEvent* event);

// True when nothing is left to deliver (also when there is no script).
bool InputScriptExhausted();

// The time of the last event of the script (0 without one).
double InputScriptEndMs();

}  // namespace zrb::platform
