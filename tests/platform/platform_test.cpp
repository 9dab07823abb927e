// The platform layer's own rules: SDL's key, close and focus events, the scan-code table,
// input scripts and replays that are wrong (named by file and line), a replay recorded and
// played again, and the log under a lock or without a
// writable folder.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <fcntl.h>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

#include "engine/platform/clock.h"
#include "engine/platform/events.h"
#include "engine/platform/input_script.h"
#include "engine/platform/joypad.h"
#include "engine/platform/key_codes.h"
#include "engine/platform/live_input.h"
#include "engine/platform/log_file.h"
#include "engine/platform/paths.h"
#include "engine/platform/replay.h"
#include "engine/platform/sdl_session.h"
#include "support/scratch_dir.h"

namespace zrb::platform {

namespace {

// The event pump on real SDL events: keys by position, close and focus, hot-plugged joypads
// (SDL's virtual joysticks go through the same path as a device on USB).
int g_closeRequests = 0;
int g_activations = 0;
int g_deactivations = 0;
int g_beforeEach = 0;

void PushKey(SDL_Scancode scancode, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = scancode;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void PushWindowEvent(SDL_WindowEventID id) {
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = id;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

class EventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetHeadless(false);
    ClearInputScript();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_EVENTS), 0) << SDL_GetError();
    ResetLiveInput();
    g_closeRequests = g_activations = g_deactivations = g_beforeEach = 0;
    SetWindowEventHandlers({[] { ++g_closeRequests; },
                            [](bool active) { ++(active ? g_activations : g_deactivations); }});
  }
  void TearDown() override {
    CloseJoypads();
    SetWindowEventHandlers({});
    QuitSdl();
  }
};

TEST_F(EventsTest, KeyEventsSetTheKeyAtItsPositionAndCountPresses) {
  PushKey(SDL_SCANCODE_Y, true);
  PushKey(SDL_SCANCODE_LEFT, true);
  PumpEvents([] { ++g_beforeEach; });
  EXPECT_EQ(g_beforeEach, 2);
  EXPECT_TRUE(Keyboard().down[21]);
  EXPECT_TRUE(Keyboard().down[203]);
  EXPECT_EQ(Keyboard().presses[21], 1u);

  // Auto-repeat of a held key is not a new press.
  PushKey(SDL_SCANCODE_Y, true);
  PushKey(SDL_SCANCODE_LEFT, false);
  PumpEvents();
  EXPECT_EQ(Keyboard().presses[21], 1u);
  EXPECT_FALSE(Keyboard().down[203]);

  // A key without a set-1 code changes nothing.
  PushKey(SDL_SCANCODE_AC_BACK, true);
  PushKey(SDL_SCANCODE_KBDILLUMUP, true);
  PumpEvents();
  int down = 0;
  for (bool d : Keyboard().down)
    down += d;
  EXPECT_EQ(down, 2);  // Y and the browser-back key (234)
}

TEST_F(EventsTest, CloseAndFocusReachTheHandlers) {
  PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  PumpEvents();
  EXPECT_EQ(g_closeRequests, 2);

  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);  // no change, no second call
  PumpEvents();
  EXPECT_FALSE(WindowIsActive());
  EXPECT_EQ(g_deactivations, 1);

  // Presses while in the background are not counted as presses for the game.
  PushKey(SDL_SCANCODE_SPACE, true);
  PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  PumpEvents();
  EXPECT_TRUE(WindowIsActive());
  EXPECT_EQ(g_activations, 1);
  EXPECT_TRUE(Keyboard().down[57]);
  EXPECT_EQ(Keyboard().presses[57], 0u);
}

TEST_F(EventsTest, TenJoypadsAreOpenedAndNoMore) {
  ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
  for (int i = 0; i < 11; ++i)
    ASSERT_GE(SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 2, 4, 0), 0);
  std::string error;
  ASSERT_TRUE(OpenJoypads(&error)) << error;
  PumpEvents();  // the devices' arrival, which opens none twice
  EXPECT_EQ(JoypadCount(), 10);
  CloseJoypads();
  while (SDL_NumJoysticks() > 0)
    SDL_JoystickDetachVirtual(0);
}

// The scan-code table: the codes the game and the engine rely on, and the table's shape.
TEST(KeyCodes, TheKeysTheGameAndTheEngineReadSitAtTheirSetOneCodes) {
  const std::map<SDL_Scancode, int> expected = {
      {SDL_SCANCODE_ESCAPE, 1},     {SDL_SCANCODE_TAB, 15},    {SDL_SCANCODE_Y, 21},
      {SDL_SCANCODE_RETURN, 28},    {SDL_SCANCODE_LCTRL, 29},  {SDL_SCANCODE_N, 49},
      {SDL_SCANCODE_LALT, 56},      {SDL_SCANCODE_SPACE, 57},  {SDL_SCANCODE_F4, 62},
      {SDL_SCANCODE_F12, 88},       {SDL_SCANCODE_UP, 200},    {SDL_SCANCODE_LEFT, 203},
      {SDL_SCANCODE_RIGHT, 205},    {SDL_SCANCODE_DOWN, 208},  {SDL_SCANCODE_KP_ENTER, 156},
      {SDL_SCANCODE_RCTRL, 157},    {SDL_SCANCODE_RALT, 184},  {SDL_SCANCODE_HOME, 199},
      {SDL_SCANCODE_DELETE, 211},   {SDL_SCANCODE_LGUI, 219},  {SDL_SCANCODE_Z, 44},
      {SDL_SCANCODE_KP_PERIOD, 83}, {SDL_SCANCODE_F1, 59},     {SDL_SCANCODE_F11, 87},
      {SDL_SCANCODE_1, 2},          {SDL_SCANCODE_LSHIFT, 42}, {SDL_SCANCODE_NONUSBACKSLASH, 86},
  };
  for (const auto& [scancode, code] : expected) {
    EXPECT_EQ(KeyCodeFromScancode(scancode), code) << SDL_GetScancodeName(scancode);
    EXPECT_EQ(ScancodeFromKeyCode(code), scancode) << code;
  }
}

// Every code of the keyboard's main block, 1 to 0x53 and 0x56 to 0x58, belongs to exactly one
// key: a code moved onto its neighbour leaves a hole here.
TEST(KeyCodes, TheMainBlockHasOneKeyForEveryCode) {
  for (int code = 0x01; code <= 0x58; ++code) {
    if (code == 0x54 || code == 0x55) continue;
    EXPECT_EQ(KeyCodeFromScancode(ScancodeFromKeyCode(code)), code) << std::hex << code;
  }
}

// The input script: what a bad line is told.
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
      {"100 joy start 1", "bad.txt:1: joypad button value must be 0 or 128"},
      {"100 joy dpad 128",
       "bad.txt:1: unknown joypad input 'dpad' (x, y, button1, button2, a, b, back, start, "
       "dpad-up, dpad-down, dpad-left or dpad-right)"},
      {"100 focus", "bad.txt:1: expected 'focus lost' or 'focus gained'"},
      {"100 focus away", "bad.txt:1: expected 'focus lost' or 'focus gained'"},
      {"1e3 close", "bad.txt:1: expected a time in milliseconds, not '1e3'"},
      // A word is quoted short and printable, whatever the line holds.
      {"0 \x1b]0;xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\a",
       "bad.txt:1: unknown action "
       "'\\x1b]0;xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx... (17 more bytes)' "
       "(key, joy, "
       "close or focus)"},
  };
  for (const auto& c : cases) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_FALSE(ParseInputScript(c.text, "bad.txt", &events, &error)) << c.text;
    EXPECT_EQ(error, c.message) << c.text;
  }
}

TEST(Replay, DamagedAndHostileReplaysAreRefusedByFileAndLine) {
  const std::string h = "#replay 1\n#run tundrel\n#version 1.0\n#seed 1\n";
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {"100 key Space down\n#replay 1",
       "bad:1: not a replay (no '#replay 1' line before its first input line)"},
      {"# a comment\n#replay 2",
       "bad:2: a replay of another format (this program reads '#replay 1')"},
      {"#replay 1\n#version 1.0", "bad: no '#run' line naming the program"},
      {"#replay 1\n#run tundrel\n3 end", "bad: no '#version' line"},
      {h + "#seed 4294967296", "bad:5: bad '#seed' line"},
      {h + "#clock fast", "bad:5: bad '#clock' line (real or virtual)"},
      {h + "#sound loud", "bad:5: bad '#sound' line ('#sound none')"},
      {h + "#file ../settings.cfg 00",
       "bad:5: bad '#file' line (a plain name and at most 4096 bytes in hex)"},
      {h + "#file a 0g", "bad:5: bad '#file' line (a plain name and at most 4096 bytes in hex)"},
      {h + "#file a " + std::string(8194, '0'),
       "bad:5: bad '#file' line (a plain name and at most 4096 bytes in hex)"},
      {h + "#file a 00\n#file a 01", "bad:6: the file a is given twice"},
      {h + "-1 end", "bad:5: bad position '-1'"},
      {h + "100000000000000000000 time 5", "bad:5: bad position '100000000000000000000'"},
      {h + "5 time nan", "bad:5: expected '<pos> time <ms>'"},
      {h + "5 time 1e999", "bad:5: expected '<pos> time <ms>'"},
      {h + "5 sound 1 2", "bad:5: a sound's answer is 0 or 1"},
      {h + "5 stopped 1", "bad:5: expected '<pos> stopped <channel> 0|1'"},
      {h + "5 sound 99999999999 1", "bad:5: expected '<pos> sound <channel> 0|1'"},
      {h + "5 music", "bad:5: expected '<pos> music 0|1'"},
      {h + "5 end now", "bad:5: 'end' takes nothing after it"},
      {h + "\n5 key 300 down", "bad:6: key code '300' is outside 0..255"},
      {h + std::string(kMaxReplayBytes, '#'), "bad: larger than any replay (64 MiB)"},
  };
  for (const auto& c : cases) {
    Replay replay;
    std::string error;
    EXPECT_FALSE(ParseReplay(c.text, "bad", &replay, &error)) << c.text.substr(0, 80);
    EXPECT_EQ(error, c.message) << c.text.substr(0, 80);
  }
  EXPECT_FALSE(LooksLikeReplay("# a script\n100 key Space down\n#replay 1"));
}

// What a run saw, placed by its samples, comes back at the same samples: input changes within
// a sample or just after it, answers read (and unchanged ones not written again), the start
// files and the end.
TEST(Replay, ARecordedRunPlaysBackAtTheSamePositions) {
  const auto key = [](int code, bool down) {
    ScriptEvent event;
    event.code = code;
    event.on = down;
    return event;
  };
  StartRecording("tundrel", "1.0", 42, /*realClock=*/true);
  BeginSample();
  RecordInput(key(28, true));
  EndSample();
  RecordInput(key(28, false));
  EXPECT_EQ(AnswerForReplay(ReplayAnswerKind::kTime, 0, 12.25), 12.25);
  AnswerForReplay(ReplayAnswerKind::kTime, 0, 12.25);
  AnswerForReplay(ReplayAnswerKind::kSound, 5, 1);
  // Stops are counted apart: they move no position (the end stays at 4).
  for (const bool sounding : {true, true, false})
    StoppedSoundAnswer(7, sounding);
  KeepStartFile("settings.cfg", {1, 254});
  NoteReplaySound(false);
  const std::string text = RecordedReplayText();
  EXPECT_NE(text.find("#seed 42\n#clock real\n#sound none\n#file settings.cfg 01fe\n1 key 28 down\n"
                      "1.5 key 28 up\n2 time 12.25\n4 sound 5 1\n1 stopped 7 1\n3 stopped 7 0\n"
                      "4 end\n"),
            std::string::npos)
      << text;

  Replay replay;
  std::string error;
  ASSERT_TRUE(ParseReplay(text, "rec", &replay, &error)) << error;
  StartPlayback(std::move(replay));
  EXPECT_FALSE(ReplayHadSound());
  ScriptEvent due;
  BeginSample();
  ASSERT_TRUE(TakeDueReplayEvent(&due));
  EXPECT_TRUE(due.on);
  EXPECT_FALSE(TakeDueReplayEvent(&due));
  EndSample();
  ASSERT_TRUE(TakeDueReplayEvent(&due));
  EXPECT_FALSE(due.on);
  EXPECT_TRUE(ReplayInputExhausted());
  EXPECT_EQ(AnswerForReplay(ReplayAnswerKind::kTime, 0, 99), 12.25);
  EXPECT_EQ(AnswerForReplay(ReplayAnswerKind::kTime, 0, 99), 12.25);
  EXPECT_FALSE(ReplayAtItsEnd());
  EXPECT_EQ(AnswerForReplay(ReplayAnswerKind::kSound, 5, 0), 1);
  EXPECT_TRUE(ReplayAtItsEnd());
  for (const bool recorded : {true, true, false})
    EXPECT_EQ(StoppedSoundAnswer(7, !recorded), recorded);
  std::vector<uint8_t> settings;
  EXPECT_TRUE(ReplayStartFile("settings.cfg", &settings));
  EXPECT_EQ(settings, (std::vector<uint8_t>{1, 254}));
  StopReplay();
}

// The log: CR LF line ends, and the retries while another program holds the file.
class LogFileTest : public ::testing::Test {
 protected:
  std::string Content() {
    std::ifstream in(LogFilePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  testing::ScratchDir scratch_;
};

TEST_F(LogFileTest, ALineIsDroppedAfterFiveTriesAgainstALockAndTheNextOneWritten) {
  DeleteLogFile();
  ASSERT_TRUE(AppendLogLine("first"));
  const int holder = ::open(LogFilePath().c_str(), O_WRONLY);
  ASSERT_GE(holder, 0);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(AppendLogLine("dropped"));
  const double waited =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GE(waited, 40.0);  // four pauses of 10 ms between five tries
  ::close(holder);
  EXPECT_TRUE(AppendLogLine("second"));
  EXPECT_EQ(Content(), "first\r\nsecond\r\n");
}

TEST_F(LogFileTest, AnUnwritableDirectoryDropsTheLineQuietly) {
  setenv("TMPDIR", "/nonexistent/folder", 1);
  EXPECT_FALSE(AppendLogLine("nowhere"));
}

}  // namespace
}  // namespace zrb::platform
