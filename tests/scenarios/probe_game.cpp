// A minimal program on the engine, for end-to-end runs that must not depend on what the game
// does. PROBE_MODE picks its behaviour:
//   frames   (default) present frames until something ends the program
//   keywait  scan all 256 key codes without presenting frames until Space, then present frames
//   fatal    present 10 frames, then index out of bounds
//   return   present 5 frames, then return from the entry
#include <cstdlib>
#include <string>

#include "engine/frame/engine_main.h"
#include "engine/frame/show_screen.h"
#include "engine/input/input.h"
#include "engine/values/runtime_error.h"

namespace {

long g_frames = 0;
int g_lastKey = 0;

void Settings(zrb::ProjectSettings& settings) {
  settings.caption = "Probe";
}

void Frame() {
  zrb::ShowScreen();
  ++g_frames;
}

int ProbeMain() {
  const char* env = std::getenv("PROBE_MODE");
  const std::string mode = env ? env : "frames";
  if (mode == "keywait") {
    while (g_lastKey != 57) {
      for (int code = 1; code < 256; ++code) {
        if (zrb::KeyState(code)) g_lastKey = code;
      }
    }
  } else if (mode == "fatal") {
    for (int i = 0; i < 10; ++i)
      Frame();
    zrb::FatalRuntimeError(zrb::kErrorOutOfBounds);
  } else if (mode == "return") {
    for (int i = 0; i < 5; ++i)
      Frame();
    return 0;
  }
  for (;;)
    Frame();
}

void Trace(zrb::TraceWriter& trace) {
  trace.Int("frames", g_frames);
  trace.Int("lastKey", g_lastKey);
}

}  // namespace

int main(int argc, char** argv) {
  zrb::GameProgram program;
  program.name = "probe";
  program.version = "0.1";
  program.projectSettings = &Settings;
  program.gameMain = &ProbeMain;
  program.traceFrame = &Trace;
  return zrb::EngineMain(argc, argv, program);
}
