// Game controllers and joysticks, hot-plugged. The first one attached is the one the game
// reads. Axes in -32768..32767 with the centre at 0; buttons (the D-pad's four included) as
// 128 (pressed) or 0.
#pragma once

#include <string>

namespace zrb::platform {

struct JoypadReading {
  bool present = false;
  int x = 0;
  int y = 0;
  int button1 = 0;  // a controller's south button (A), a joystick's first
  int button2 = 0;  // east (B), a joystick's second
  int back = 0;     // a controller's Back and Start; a joystick has none
  int start = 0;
  int dpadUp = 0;  // a controller's D-pad, a joystick's first hat
  int dpadDown = 0;
  int dpadLeft = 0;
  int dpadRight = 0;
};

// The buttons an input script can press, by the number its events carry.
enum ScriptedJoypadButton {
  kJoyButton1 = 1,
  kJoyButton2 = 2,
  kJoyBack = 3,
  kJoyStart = 4,
  kJoyDpadUp = 5,
  kJoyDpadDown = 6,
  kJoyDpadLeft = 7,
  kJoyDpadRight = 8,
};

// Starts controller support and opens what is attached. SDL knows the common controllers;
// `extraMappings`, when that file exists, adds mappings in the community database's format
// (gamecontrollerdb.txt) before any device is opened. False (with the reason) when the
// platform has no controller support; the game then reads no joypad.
bool OpenJoypads(std::string* error, const std::string& extraMappings = {});
void CloseJoypads();

// The first joypad's state. An input script that has moved the joypad takes precedence over
// any device.
JoypadReading ReadJoypad();

int JoypadCount();
std::string JoypadName(int index);

// Hot-plug, from the event pump: `deviceIndex` as SDL counts devices, `instanceId` as SDL
// names an opened one.
void JoypadAttached(int deviceIndex);
void JoypadDetached(int instanceId);

// The input script's joypad: axis 0 = x, 1 = y; a button of ScriptedJoypadButton.
void SetScriptedJoypadAxis(int axis, int value);
void SetScriptedJoypadButton(int button, int value);
void ResetScriptedJoypad();

}  // namespace zrb::platform
