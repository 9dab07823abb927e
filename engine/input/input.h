// What the game asks of the keyboard, the joypad and the mouse pointer. The game polls; it
// never receives input events.
#pragma once

namespace zrb {

// 1 while the key at `code` (set-1 scan code, +128 for extended keys) is down, else 0. Only
// the low 8 bits of the code count. A press that came and went since the key was last asked
// about reads as down once, so a short tap is never missed. While the window is not the
// active one, the answers stay what they were when it lost the focus.
int KeyState(int code);

// The first joypad: x and y are -1, 0 or 1 (the axis divided by 30000, cut toward zero; up
// is y = -1), and a pressed D-pad counts as the stick pushed fully its way. b1 and b2 are 128
// while the first and second buttons (a controller's A and B) are pressed, else 0.
// All zeros without a joypad, and while the window is not active.
void JoystickState(double& x, double& y, double& b1, double& b2);

// The first joypad's Back and Start buttons (a game controller's; a plain joystick has none):
// 128 while pressed, else 0, and zeros whenever JoystickState reads zeros.
void JoypadMenuButtons(double& back, double& start);

// The engine clock (ms) when the input the last poll answered from was taken: a key test that
// measures time reads this, so that a replay reproduces its decisions (a replay answers with
// the recorded value). Each call is a step of the replay: read it only when it matters.
double InputSampleMs();

// Non-zero shows the system pointer over the window, 0 hides it.
void ShowMousePointer(double show);

}  // namespace zrb
