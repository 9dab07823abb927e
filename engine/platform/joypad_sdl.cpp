#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/platform/joypad.h"
#include "engine/platform/log_file.h"
#include "engine/platform/replay.h"
#include "engine/platform/sdl_session.h"
#include "engine/platform/small_file.h"

namespace zrb::platform {
namespace {

struct ControllerDeleter {
  void operator()(SDL_GameController* c) const { SDL_GameControllerClose(c); }
};
struct JoystickDeleter {
  void operator()(SDL_Joystick* j) const { SDL_JoystickClose(j); }
};

// A device the engine reads: a recognised game controller (left stick, D-pad, A, B, Back,
// Start) or a plain joystick (axes 0 and 1, hat 0, buttons 0 and 1).
struct Joypad {
  std::unique_ptr<SDL_GameController, ControllerDeleter> controller;
  std::unique_ptr<SDL_Joystick, JoystickDeleter> joystick;
  SDL_JoystickID instance = -1;
  std::string name;
};

// Room for as many devices as the engine ever tracked.
constexpr size_t kMaxJoypads = 10;

struct JoypadState {
  bool open = false;
  std::vector<Joypad> pads;
  bool scripted = false;
  JoypadReading script;
};

JoypadState& State() {
  static JoypadState state;
  return state;
}

int ButtonValue(bool pressed) {
  return pressed ? 128 : 0;
}

// The community database is about half a megabyte. SDL takes mappings in a time that grows
// with the square of their number (a second for half a megabyte, minutes for 8 MiB), before
// the first frame: twice the database is as long as a start may take.
constexpr size_t kMaxMappingBytes = 1024 * 1024;

void AddMappings(const std::string& path) {
  bool truncated = false;
  const auto text = ReadSmallFile(path, kMaxMappingBytes, &truncated);
  if (!text) return;  // no file: SDL's own mappings only
  if (truncated) {
    const std::string ignored = "Controller mappings ignored: " + path + " is larger than 1 MiB";
    std::fprintf(stderr, "%s\n", ignored.c_str());
    AppendLogLine(ignored);
    return;
  }
  SDL_RWops* source = SDL_RWFromConstMem(text->data(), static_cast<int>(text->size()));
  const int added = source ? SDL_GameControllerAddMappingsFromRW(source, 1) : -1;
  if (added < 0) {
    AppendLogLine("Controller mappings not read from " + path + ": " + SDL_GetError());
  } else {
    AppendLogLine("Controller mappings: " + std::to_string(added) + " from " + path);
  }
}

}  // namespace

bool OpenJoypads(std::string* error, const std::string& extraMappings) {
  JoypadState& state = State();
  if (state.open) return true;
  if (!InitSdlControllers(error)) return false;
  if (!extraMappings.empty()) AddMappings(extraMappings);
  state.open = true;
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    JoypadAttached(i);
  return true;
}

void CloseJoypads() {
  JoypadState& state = State();
  state.pads.clear();
  state.open = false;
  ResetScriptedJoypad();
}

void JoypadAttached(int deviceIndex) {
  JoypadState& state = State();
  if (!state.open || state.pads.size() >= kMaxJoypads) return;
  const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(deviceIndex);
  for (const Joypad& pad : state.pads) {
    if (pad.instance == id) return;  // already open (SDL reports devices present at start twice)
  }
  Joypad pad;
  if (SDL_IsGameController(deviceIndex)) {
    pad.controller.reset(SDL_GameControllerOpen(deviceIndex));
    if (!pad.controller) return;
    const char* name = SDL_GameControllerName(pad.controller.get());
    pad.name = name ? name : "game controller";
  } else {
    pad.joystick.reset(SDL_JoystickOpen(deviceIndex));
    if (!pad.joystick) return;
    const char* name = SDL_JoystickName(pad.joystick.get());
    pad.name = name ? name : "joystick";
  }
  pad.instance = id;
  state.pads.push_back(std::move(pad));
}

void JoypadDetached(int instanceId) {
  auto& pads = State().pads;
  pads.erase(std::remove_if(pads.begin(), pads.end(),
                            [&](const Joypad& p) { return p.instance == instanceId; }),
             pads.end());
}

JoypadReading ReadJoypad() {
  const JoypadState& state = State();
  if (state.scripted) return state.script;
  // A replay plays its own pad, never the one at hand.
  if (state.pads.empty() || PlayingReplay()) return {};
  const Joypad& pad = state.pads.front();
  JoypadReading reading;
  reading.present = true;
  if (pad.controller) {
    SDL_GameController* c = pad.controller.get();
    const auto button = [c](SDL_GameControllerButton b) {
      return ButtonValue(SDL_GameControllerGetButton(c, b));
    };
    reading.x = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTX);
    reading.y = SDL_GameControllerGetAxis(c, SDL_CONTROLLER_AXIS_LEFTY);
    reading.button1 = button(SDL_CONTROLLER_BUTTON_A);
    reading.button2 = button(SDL_CONTROLLER_BUTTON_B);
    reading.back = button(SDL_CONTROLLER_BUTTON_BACK);
    reading.start = button(SDL_CONTROLLER_BUTTON_START);
    reading.dpadUp = button(SDL_CONTROLLER_BUTTON_DPAD_UP);
    reading.dpadDown = button(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    reading.dpadLeft = button(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    reading.dpadRight = button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  } else {
    SDL_Joystick* j = pad.joystick.get();
    reading.x = SDL_JoystickNumAxes(j) > 0 ? SDL_JoystickGetAxis(j, 0) : 0;
    reading.y = SDL_JoystickNumAxes(j) > 1 ? SDL_JoystickGetAxis(j, 1) : 0;
    reading.button1 = ButtonValue(SDL_JoystickNumButtons(j) > 0 && SDL_JoystickGetButton(j, 0));
    reading.button2 = ButtonValue(SDL_JoystickNumButtons(j) > 1 && SDL_JoystickGetButton(j, 1));
    const Uint8 hat = SDL_JoystickNumHats(j) > 0 ? SDL_JoystickGetHat(j, 0) : SDL_HAT_CENTERED;
    reading.dpadUp = ButtonValue(hat & SDL_HAT_UP);
    reading.dpadDown = ButtonValue(hat & SDL_HAT_DOWN);
    reading.dpadLeft = ButtonValue(hat & SDL_HAT_LEFT);
    reading.dpadRight = ButtonValue(hat & SDL_HAT_RIGHT);
  }
  return reading;
}

int JoypadCount() {
  return static_cast<int>(State().pads.size());
}

std::string JoypadName(int index) {
  const auto& pads = State().pads;
  if (index < 0 || index >= static_cast<int>(pads.size())) return {};
  return pads[index].name;
}

void SetScriptedJoypadAxis(int axis, int value) {
  JoypadState& state = State();
  state.scripted = true;
  state.script.present = true;
  (axis == 0 ? state.script.x : state.script.y) = value;
}

void SetScriptedJoypadButton(int button, int value) {
  JoypadState& state = State();
  state.scripted = true;
  state.script.present = true;
  JoypadReading& pad = state.script;
  int* const buttons[] = {&pad.button1, &pad.button2,  &pad.back,     &pad.start,
                          &pad.dpadUp,  &pad.dpadDown, &pad.dpadLeft, &pad.dpadRight};
  if (button >= kJoyButton1 && button <= kJoyDpadRight) *buttons[button - kJoyButton1] = value;
}

void ResetScriptedJoypad() {
  JoypadState& state = State();
  state.scripted = false;
  state.script = JoypadReading{};
}

}  // namespace zrb::platform
