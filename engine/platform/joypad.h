// Game controllers and joysticks, hot-plugged. The first one attached is the one the game
// reads. Axes in -32768..32767 with the centre at 0; buttons as 128 (pressed) or 0.
#pragma once

#include <string>

namespace zrb::platform {

struct JoypadReading {
  bool present = false;
  int x = 0;
  int y = 0;
  int button1 = 0;
  int button2 = 0;
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

// The input script's joypad: axis 0 = x, 1 = y; button 1 or 2.
void SetScriptedJoypadAxis(int axis, int value);
void SetScriptedJoypadButton(int button, int value);
void ResetScriptedJoypad();

}  // namespace zrb::platform
