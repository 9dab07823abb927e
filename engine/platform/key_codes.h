// Keyboard positions as the engine names them: set-1 scan codes, 128 added for the extended
// (E0-prefixed) keys. A code names a position on the keyboard, not the letter printed on it:
// code 21 is the key right of T whatever the layout calls it.
#pragma once

#include <string_view>

namespace zrb::platform {

inline constexpr int kKeyCodeCount = 256;

// Codes the engine itself looks at.
inline constexpr int kKeyEscape = 1;
inline constexpr int kKeyEnter = 28;
inline constexpr int kKeyLeftAlt = 56;
inline constexpr int kKeyF4 = 62;
inline constexpr int kKeyF12 = 88;
inline constexpr int kKeyPadEnter = 156;
inline constexpr int kKeyRightAlt = 184;

// The set-1 code of an SDL scancode; 0 for keys that have none.
int KeyCodeFromScancode(int sdlScancode);

// The SDL scancode at a code's position; 0 (SDL's "unknown") for codes with no key.
int ScancodeFromKeyCode(int keyCode);

// A key named in an input script ("Escape", "Y", "LCtrl", "F4", "Up", ...), case-insensitive;
// -1 for an unknown name.
int KeyCodeFromName(std::string_view name);

}  // namespace zrb::platform
