// The input script: what a good script becomes, and what a bad line is told.
#include <gtest/gtest.h>

#include "engine/platform/input_script.h"

namespace zrb::platform {
namespace {

using Kind = ScriptEvent::Kind;

TEST(InputScript, EmptyScriptIsFine) {
  std::vector<ScriptEvent> events{ScriptEvent{}};
  std::string error;
  EXPECT_TRUE(ParseInputScript("", "e.txt", &events, &error));
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(ParseInputScript("# nothing\n\n   \n", "e.txt", &events, &error));
  EXPECT_TRUE(events.empty());
}

TEST(InputScript, BadLinesAreNamedByFileAndLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"x key Space down", "bad.txt:1: expected a time in milliseconds, not 'x'"},
      {"# ok\n-5 close", "bad.txt:2: expected a time in milliseconds, not '-5'"},
      {"\n\n100", "bad.txt:3: nothing to do at 100 ms"},
      {"100 jump", "bad.txt:1: unknown action 'jump' (key, joy, close or focus)"},
      {"100 close now", "bad.txt:1: 'close' takes nothing after it"},
      {"100 key Space", "bad.txt:1: expected '<ms> key <name|code> down|up'"},
      {"100 key Spacebar down", "bad.txt:1: unknown key name 'Spacebar'"},
      {"100 key 256 down", "bad.txt:1: key code '256' is outside 0..255"},
      {"100 key Space pressed", "bad.txt:1: expected 'down' or 'up', not 'pressed'"},
      {"100 joy x 40000", "bad.txt:1: joypad axis value outside -32768..32768"},
      {"100 joy x left", "bad.txt:1: joypad value 'left' is not a whole number"},
      {"100 joy button1 1", "bad.txt:1: joypad button value must be 0 or 128"},
      {"100 joy z 0", "bad.txt:1: unknown joypad input 'z' (x, y, button1 or button2)"},
      {"100 focus", "bad.txt:1: expected 'focus lost' or 'focus gained'"},
      {"100 focus away", "bad.txt:1: expected 'focus lost' or 'focus gained'"},
      {"1e3 close", "bad.txt:1: expected a time in milliseconds, not '1e3'"},
  };
  for (const auto& c : cases) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_FALSE(ParseInputScript(c.text, "bad.txt", &events, &error)) << c.text;
    EXPECT_EQ(error, c.message) << c.text;
  }
}

}  // namespace
}  // namespace zrb::platform
